// Reads fuzzed bytes as a display's stored grid preset text and checks the round trip: a text
// that reads as a preset writes a text that reads back as the same preset, and a preset that reads
// never exceeds the largest grid.
#include "snapping/GridPresetStorage.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tilmora;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto preset = GridPresetStorage::parse(text);
    if (!preset) return 0;
    if (preset->rows < 1 || preset->cols < 1 || preset->rows > GridPreset::maxCount ||
        preset->cols > GridPreset::maxCount) {
        std::fprintf(stderr, "read a preset of %lld x %lld\n", static_cast<long long>(preset->rows),
                     static_cast<long long>(preset->cols));
        std::abort();
    }
    const std::string written = GridPresetStorage::text(*preset);
    const auto again = GridPresetStorage::parse(written);
    if (!again || !(*again == *preset)) {
        std::fprintf(stderr, "the preset's own text \"%s\" does not read back as it\n", written.c_str());
        std::abort();
    }
    return 0;
}
