#include "console/CommandError.hpp"
#include "console/CommandTable.hpp"
#include "console/ConsoleCompletion.hpp"
#include "console/ConsoleInput.hpp"
#include "console/ConsoleOptions.hpp"
#include "console/ConsoleText.hpp"
#include "console/DesktopConsole.hpp"
#include "console/ProgramHost.hpp"
#include "console/SessionHome.hpp"
#include "console/SessionSignals.hpp"
#include "console/TerminalForeground.hpp"

#include "platform/dispatch/Runtime.hpp"
#include "platform/foundation/FolderLock.hpp"
#include "platform/foundation/UserDefaults.hpp"

#include <clocale>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <string>

#include <langinfo.h>
#include <termios.h>
#include <unistd.h>

// The program's entry: the desktop console on the simulated desktop (options: `ConsoleOptions`).
//   tilmora [--home DIR]     an interactive session on the default desktop, in real time, with
//                            the program launched; exits 0 (1 after a failed expect)
//   tilmora --script FILE    runs a script on the virtual clock ("-" reads standard input); it
//                            ends with its verdict line and exits with its status (0 passed, 1 a
//                            failed expect, 2 an error); the script launches the program
//   --desktop NAME|FILE      starts the session or the script on that desktop
// Either runs under a private user folder (`SessionHome`): a fresh one in the temporary folder,
// removed at the end, or DIR (`--home DIR`, created when missing and kept). When none can be made
// nothing runs: it never falls back to the user's own folders. DIR is one session's at a time: a
// second session or script over it is refused before anything runs ("the folder DIR is in use by
// another session (process N)", exit 2) and changes nothing in it. SIGTERM, SIGHUP and SIGPIPE (and
// SIGINT, but for Ctrl-C in an interactive session on a terminal) end either as at its end, with
// the status 128 + the signal's number; one that has not ended 3 seconds after the signal (blocked
// in a system call) is ended by a watchdog with that status, the settings written into DIR or its
// fresh private folder removed. Every other signal that ends a process without a fault ends it the
// same way (`SessionSignals`); a save waiting for another program's lock fails at the signal. DIR
// renamed while a run holds it takes nothing more from the run, which says so once on standard
// error. A session on a terminal takes a process group of its own as
// the terminal's foreground group while it runs (`TerminalForeground`), so Ctrl-C reaches only it.
int main(int argc, char** argv) {
    using tilmora::CommandError;
    using tilmora::ConsoleInput;
    using tilmora::ConsoleOptions;
    using tilmora::DesktopConsole;
    using tilmora::SessionSignals;
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
        if (home.inUseBy())
            std::cerr << "tilmora: " << reason << "\n";
        else
            std::cerr << "tilmora: cannot make a private folder for the " << purpose << ": " << reason
                      << "\n";
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
    // A session that does not end within the grace after an ending signal (blocked in a system
    // call, say) is ended by the watchdog: the settings the program holds are written into a kept
    // folder (under the defaults' own locks; a write the blocked main thread holds up is given a
    // moment only), its fresh private folder goes and the terminal is given back first. Anything
    // the session stored stays as stored.
    const std::filesystem::path freshFolder = home.kept() ? std::filesystem::path() : home.path();
    const auto armWatchdog = [&freshFolder](std::function<void()> more) {
        SessionSignals::armWatchdog([freshFolder, more = std::move(more)] {
            if (more) more();
            if (freshFolder.empty()) {
                SessionSignals::runWithin(SessionSignals::lastWriteSeconds,
                                          [] { platform::UserDefaults::synchronizeAll(); });
                return;
            }
            std::error_code ignored;
            std::filesystem::remove_all(freshFolder, ignored);
        });
    };
    // The folder renamed or replaced while the session runs: said once, on the terminal too.
    platform::FolderLock::setReportHandler([](const std::string& line) {
        std::cerr << "tilmora: " << line << std::endl;
    });
    if (options->script) {
        SessionSignals::install(SessionSignals::Interrupt::endsSession);
        armWatchdog({});
        platform::Runtime::start(platform::Runtime::Mode::simulated);
        // The program's output and the platform's diagnostics go to `show log`, never the terminal.
        tilmora::ProgramHost::shared().captureOutput();
        int status = 0;
        {
            DesktopConsole console(std::cout);
            if (!startDesktop(console)) return DesktopConsole::exitError;
            if (*options->script == "-") {
                ConsoleInput input(
                    {.descriptor = STDIN_FILENO, .lineEditing = false, .prompt = {}, .completions = {}, .completer = {}});
                console.run([&input] { return input.nextLine(); });
            } else {
                console.runFile(*options->script, std::cerr);
            }
            // A script ended by a signal gives no verdict; the private folder goes on the way out.
            if (const int signal = SessionSignals::endingSignal()) return 128 + signal;
            status = console.finishScript();
        }
        // The verdict itself may meet a closed output (SIGPIPE).
        if (const int signal = SessionSignals::endingSignal()) return 128 + signal;
        return status;
    }
    // On a terminal Ctrl-C stops a command; a prompt and line editing stand in for the echo.
    const bool terminal = ConsoleInput::isTerminal(STDIN_FILENO);
    const bool lineEditing = terminal && ConsoleInput::isTerminal(STDOUT_FILENO);
    // The terminal's keys signal the session alone, not a parent such as `make` (given back on
    // every way out of here).
    std::optional<tilmora::TerminalForeground> foreground;
    if (terminal) foreground.emplace(STDIN_FILENO);
    bool utf8 = true;
    if (lineEditing) {
        // Keys are read in the terminal's encoding, which the locale names (UTF-8 typed or pasted
        // reaches the commands as typed); numbers keep their one text form.
        std::setlocale(LC_ALL, "");
        std::setlocale(LC_NUMERIC, "C");
        utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    }
    SessionSignals::install(terminal ? SessionSignals::Interrupt::stopsCommand : SessionSignals::Interrupt::endsSession);
    std::optional<termios> terminalMode;
    if (termios mode {}; terminal && ::tcgetattr(STDIN_FILENO, &mode) == 0) terminalMode = mode;
    armWatchdog([terminalMode, &foreground] {
        if (terminalMode) ::tcsetattr(STDIN_FILENO, TCSANOW, &*terminalMode);
        if (foreground) foreground->giveBack();
    });
    platform::Runtime::start(platform::Runtime::Mode::real);
    tilmora::ProgramHost::shared().captureOutput();
    DesktopConsole::Options consoleOptions;
    consoleOptions.clock = DesktopConsole::Clock::realTime;
    consoleOptions.echoCommands = !terminal;
    consoleOptions.errorsSetStatus = false;
    consoleOptions.interactive = true;
    int status = 0;
    {
        DesktopConsole console(std::cout, consoleOptions);
        if (options->desktop) {
            if (!startDesktop(console)) return DesktopConsole::exitError;
        } else {
            console.useDefaultDesktop();
        }
        std::cout << home.description() << "\n";
        if (terminal)
            std::cout << "Tilmora desktop console on the " << (options->desktop ? *options->desktop : "default")
                      << " desktop. Type \"help\" for the commands, \"quit\" to leave.\n";
        if (!utf8)
            std::cout << "Note: the locale is not UTF-8 (see LANG), so only ASCII can be typed; titles also "
                         "match with \"x\" for the times sign, \"...\" for the ellipsis, \"-\" for the en dash.\n";
        console.prepare("program launch");
        ConsoleInput input({.descriptor = STDIN_FILENO,
                            .lineEditing = lineEditing,
                            .prompt = terminal ? "tilmora> " : "",
                            .completions = tilmora::CommandTable::builtIn().names(),
                            .completer =
                                [](const std::vector<std::string>& words) {
                                    return tilmora::ConsoleCompletion::candidates(
                                        tilmora::CommandTable::builtIn(), words);
                                },
                            // "Grid 2 x completes as "Grid 2 × 2" does.
                            .spelling = tilmora::ConsoleText::asciiSpelling});
        // A kept folder keeps the session's history too.
        if (home.kept()) input.setHistoryFile(home.path() / ".tilmora_history");
        status = console.run([&input] { return input.nextLine(); });
    }
    if (terminal) std::cout << "\n";
    if (const int signal = SessionSignals::endingSignal()) return 128 + signal;
    return status;
}
