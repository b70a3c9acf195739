#include "console/CommandError.hpp"
#include "console/ConsoleOptions.hpp"
#include "console/DesktopConsole.hpp"
#include "console/ProgramHost.hpp"
#include "console/SessionHome.hpp"

#include "platform/dispatch/Runtime.hpp"

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

// The program's entry: the desktop console on the simulated desktop (options: `ConsoleOptions`).
//   tilmora [--home DIR]     an interactive session on the default desktop, in real time, with
//                            the program launched
//   tilmora --script FILE    runs a script on the virtual clock ("-" reads standard input); it
//                            ends with its verdict line and exits with its status (0 passed, 1 a
//                            failed expect, 2 an error); the script launches the program
//   --desktop NAME|FILE      starts the session or the script on that desktop
// Either runs under a private user folder (`SessionHome`): a fresh one in the temporary folder,
// removed at the end, or DIR (`--home DIR`, created when missing and kept). When none can be made
// nothing runs: it never falls back to the user's own folders.
int main(int argc, char** argv) {
    using tilmora::CommandError;
    using tilmora::ConsoleOptions;
    using tilmora::DesktopConsole;
    std::string optionError;
    const auto options = ConsoleOptions::parse(argc, argv, optionError);
    if (!options) {
        std::cerr << "tilmora: " << optionError << "\n" << ConsoleOptions::usage() << "\n";
        return DesktopConsole::exitError;
    }
    if (options->help) {
        std::cout << ConsoleOptions::helpText();
        return DesktopConsole::exitOk;
    }
    if (options->version) {
        std::cout << ConsoleOptions::versionText() << "\n";
        return DesktopConsole::exitOk;
    }

    tilmora::SessionHome home;
    const std::string purpose = options->script ? "script" : "session";
    std::optional<std::filesystem::path> homeFolder;
    if (options->home) homeFolder = *options->home;
    if (std::string reason; !home.make(homeFolder, purpose, reason)) {
        std::cerr << "cannot make a private folder for the " << purpose << ": " << reason << "\n";
        return DesktopConsole::exitError;
    }
    // The desktop the session or script starts on; false (after saying why) when it cannot be built.
    const auto startDesktop = [&](DesktopConsole& console) {
        if (!options->desktop) return true;
        try {
            console.useDesktop(*options->desktop);
            return true;
        } catch (const CommandError& e) {
            std::cerr << "tilmora: --desktop " << *options->desktop << ": " << e.what() << "\n";
            return false;
        }
    };
    if (options->script) {
        platform::Runtime::start(platform::Runtime::Mode::simulated);
        // The program's output and the platform's diagnostics go to `show log`, never the terminal.
        tilmora::ProgramHost::shared().captureOutput();
        DesktopConsole console(std::cout);
        if (!startDesktop(console)) return DesktopConsole::exitError;
        if (*options->script == "-")
            console.run(std::cin);
        else
            console.runFile(*options->script, std::cerr);
        return console.finishScript();
    }
    platform::Runtime::start(platform::Runtime::Mode::real);
    tilmora::ProgramHost::shared().captureOutput();
    DesktopConsole::Options consoleOptions;
    consoleOptions.clock = DesktopConsole::Clock::realTime;
    consoleOptions.echoCommands = false;
    consoleOptions.prompt = true;
    DesktopConsole console(std::cout, consoleOptions);
    if (options->desktop) {
        if (!startDesktop(console)) return DesktopConsole::exitError;
    } else {
        console.useDefaultDesktop();
    }
    std::cout << home.description() << "\n";
    std::cout << "Tilmora desktop console on the " << (options->desktop ? *options->desktop : "default")
              << " desktop. Type \"help\" for the commands, \"quit\" to leave.\n";
    console.execute("program launch");
    const int status = console.run(std::cin);
    std::cout << "\n";
    return status;
}
