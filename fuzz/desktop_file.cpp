// Loads fuzzed bytes as a `desktop load` JSON file onto the simulated desktop. A refused file is a
// `CommandError` naming the field; any other escape, a crash or a sanitizer report is a fault.
#include "FuzzSandbox.hpp"

#include "console/CommandError.hpp"
#include "console/DesktopFile.hpp"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::FuzzSandbox::instance().reset();
    try {
        tilmora::DesktopFile::load(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const tilmora::CommandError&) {
    }
    return 0;
}
