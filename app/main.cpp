#include "console/DesktopConsole.hpp"
#include "console/ProgramHost.hpp"
#include "console/SessionHome.hpp"

#include "platform/dispatch/Runtime.hpp"

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

// The program's entry: the desktop console on the simulated desktop.
//   tilmora [--home DIR]     an interactive session on the default desktop, in real time, with
//                            the program launched
//   tilmora --script FILE    runs a script on the virtual clock ("-" reads standard input) and
//                            exits with its status (0 passed, 1 a failed expect, 2 an error); the
//                            script launches the program
// Either runs under a private user folder (`SessionHome`): a fresh one in the temporary folder,
// removed at the end, or DIR (`--home DIR`, created when missing and kept). When none can be made
// nothing runs: it never falls back to the user's own folders.
int main(int argc, char** argv) {
    using tilmora::DesktopConsole;
    std::optional<std::string> script;
    std::optional<std::filesystem::path> homeFolder;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--script" && i + 1 < argc) {
            script = argv[++i];
        } else if (argument == "--home" && i + 1 < argc) {
            homeFolder = argv[++i];
        } else {
            std::cerr << "usage: tilmora [--script FILE|-] [--home DIR]\n";
            return DesktopConsole::exitError;
        }
    }

    tilmora::SessionHome home;
    const std::string purpose = script ? "script" : "session";
    if (std::string reason; !home.make(homeFolder, purpose, reason)) {
        std::cerr << "cannot make a private folder for the " << purpose << ": " << reason << "\n";
        return DesktopConsole::exitError;
    }
    if (script) {
        platform::Runtime::start(platform::Runtime::Mode::simulated);
        // The program's output and the platform's diagnostics go to `show log`, never the terminal.
        tilmora::ProgramHost::shared().captureOutput();
        DesktopConsole console(std::cout);
        return *script == "-" ? console.run(std::cin) : console.runFile(*script, std::cerr);
    }
    platform::Runtime::start(platform::Runtime::Mode::real);
    tilmora::ProgramHost::shared().captureOutput();
    DesktopConsole::Options options;
    options.clock = DesktopConsole::Clock::realTime;
    options.echoCommands = false;
    options.prompt = true;
    DesktopConsole console(std::cout, options);
    console.useDefaultDesktop();
    std::cout << home.description() << "\n";
    std::cout
        << "Tilmora desktop console on the default desktop. Type \"help\" for the commands, \"quit\" to "
           "leave.\n";
    console.execute("program launch");
    const int status = console.run(std::cin);
    std::cout << "\n";
    return status;
}
