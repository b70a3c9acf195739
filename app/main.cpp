#include "console/CommandTable.hpp"
#include "console/ConsoleInput.hpp"
#include "console/DesktopConsole.hpp"
#include "console/ProgramHost.hpp"
#include "console/SessionSignals.hpp"

#include "platform/control/FoldersControl.hpp"
#include "platform/dispatch/Runtime.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include <unistd.h>

namespace {

// A fresh folder for a script's user (home, Documents, Library), removed when the script ends.
// When none can be made the script does not run: it never falls back to the user's own folders.
class ScriptUserFolder {
public:
    /// Makes the folder and points the program's folders at it; false with `reason` set when no
    /// temporary folder can be found or made.
    bool make(std::string& reason) {
        std::error_code ec;
        const auto temporary = std::filesystem::temp_directory_path(ec);
        if (ec) {
            reason = ec.message();
            return false;
        }
        std::string pattern = (temporary / "tilmora-script-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            reason = std::strerror(errno);
            return false;
        }
        path_ = pattern;
        platform::FoldersControl::useRoot(path_);
        return true;
    }
    ScriptUserFolder() = default;
    ~ScriptUserFolder() {
        if (path_.empty()) return;
        platform::FoldersControl::install(std::nullopt);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScriptUserFolder(const ScriptUserFolder&) = delete;
    ScriptUserFolder& operator=(const ScriptUserFolder&) = delete;

private:
    std::filesystem::path path_;
};

} // namespace

// The program's entry: the desktop console on the simulated desktop.
//   tilmora                  an interactive session on the default desktop, in real time, with
//                            the program launched; exits 0 (1 after a failed expect)
//   tilmora --script FILE    runs a script on the virtual clock ("-" reads standard input) under
//                            a fresh temporary user folder and exits with its status (0 passed,
//                            1 a failed expect, 2 an error); the script launches the program
// SIGTERM and SIGHUP (and SIGINT, but for Ctrl-C in an interactive session on a terminal) end
// either as at its end, with the status 128 + the signal's number.
int main(int argc, char** argv) {
    using tilmora::ConsoleInput;
    using tilmora::DesktopConsole;
    using tilmora::SessionSignals;
    if (argc == 3 && std::strcmp(argv[1], "--script") == 0) {
        ScriptUserFolder folder;
        if (std::string reason; !folder.make(reason)) {
            std::cerr << "cannot make a private folder for the script: " << reason << "\n";
            return DesktopConsole::exitError;
        }
        SessionSignals::install(SessionSignals::Interrupt::endsSession);
        platform::Runtime::start(platform::Runtime::Mode::simulated);
        int status = 0;
        {
            DesktopConsole console(std::cout);
            if (std::strcmp(argv[2], "-") == 0) {
                ConsoleInput input({.descriptor = STDIN_FILENO, .lineEditing = false, .prompt = {}, .completions = {}});
                status = console.run([&input] { return input.nextLine(); });
            } else {
                status = console.runFile(argv[2], std::cerr);
            }
        }
        // The private folder goes on the way out, whichever way the script ended.
        if (const int signal = SessionSignals::endingSignal()) return 128 + signal;
        return status;
    }
    if (argc != 1) {
        std::cerr << "usage: tilmora [--script FILE|-]\n";
        return DesktopConsole::exitError;
    }
    // On a terminal Ctrl-C stops a command; a prompt and line editing stand in for the echo.
    const bool terminal = ConsoleInput::isTerminal(STDIN_FILENO);
    SessionSignals::install(terminal ? SessionSignals::Interrupt::stopsCommand
                                     : SessionSignals::Interrupt::endsSession);
    platform::Runtime::start(platform::Runtime::Mode::real);
    DesktopConsole::Options options;
    options.clock = DesktopConsole::Clock::realTime;
    options.echoCommands = !terminal;
    options.errorsSetStatus = false;
    int status = 0;
    {
        DesktopConsole console(std::cout, options);
        console.useDefaultDesktop();
        if (terminal)
            std::cout << "Tilmora desktop console on the default desktop. Type \"help\" for the commands, "
                         "\"quit\" to leave.\n";
        console.prepare("program launch");
        ConsoleInput input({.descriptor = STDIN_FILENO,
                            .lineEditing = terminal && ConsoleInput::isTerminal(STDOUT_FILENO),
                            .prompt = terminal ? "tilmora> " : "",
                            .completions = tilmora::CommandTable::builtIn().names()});
        status = console.run([&input] { return input.nextLine(); });
    }
    if (terminal) std::cout << "\n";
    if (const int signal = SessionSignals::endingSignal()) return 128 + signal;
    return status;
}
