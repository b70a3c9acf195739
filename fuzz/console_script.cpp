// Runs fuzzed bytes as a console script on the default desktop: the tokenizer, the argument
// checks of the command table and every command's own parsing. The commands that would reach
// outside the simulated desktop do their parsing only: `desktop load` reads no file (the desktop
// file has its own target) and `show picture` writes no picture (its size follows the input).
// A failing command is part of the game; only crashes, sanitizer reports and hangs count.
#include "FuzzSandbox.hpp"

#include "console/CommandArgs.hpp"
#include "console/CommandTable.hpp"
#include "console/DesktopConsole.hpp"

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <streambuf>
#include <string>

namespace {

/// A stream buffer that drops everything, so that a long transcript costs no memory.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

/// The built-in commands, with the two file-reaching forms stopped after their arity checks.
const tilmora::CommandTable& fuzzTable() {
    static const tilmora::CommandTable table = [] {
        tilmora::CommandTable t;
        for (const auto* command : tilmora::CommandTable::builtIn().inHelpOrder()) {
            tilmora::ConsoleCommand copy = *command;
            if (copy.name == "desktop") {
                copy.handler = [real = copy.handler](tilmora::ConsoleSession& s, const tilmora::CommandArgs& a) {
                    if (a.text(1) == "load") return;
                    real(s, a);
                };
            } else if (copy.name == "show") {
                copy.handler = [real = copy.handler](tilmora::ConsoleSession& s, const tilmora::CommandArgs& a) {
                    if (a.text(1) == "picture") return;
                    real(s, a);
                };
            }
            t.add(std::move(copy));
        }
        return t;
    }();
    return table;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& sandbox = fuzzing::FuzzSandbox::instance();
    sandbox.reset();
    static NullBuffer buffer;
    std::ostream out(&buffer);
    tilmora::DesktopConsole::Options options;
    options.commands = &fuzzTable();
    tilmora::DesktopConsole console(out, options);
    console.useDefaultDesktop();
    (void)console.runString(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
