#include "console/CommandError.hpp"
#include "console/ConsoleOptions.hpp"
#include "console/DesktopConsole.hpp"
#include "console/ProgramHost.hpp"

#include "platform/control/FoldersControl.hpp"
#include "platform/dispatch/Runtime.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

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

// The program's entry: the desktop console on the simulated desktop (options: `ConsoleOptions`).
//   tilmora                  an interactive session on the default desktop, in real time, with
//                            the program launched
//   tilmora --script FILE    runs a script on the virtual clock ("-" reads standard input) under
//                            a fresh temporary user folder; it ends with its verdict line and
//                            exits with its status (0 passed, 1 a failed expect, 2 an error); the
//                            script launches the program
//   --desktop NAME|FILE      starts the session or the script on that desktop
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
        ScriptUserFolder folder;
        if (std::string reason; !folder.make(reason)) {
            std::cerr << "cannot make a private folder for the script: " << reason << "\n";
            return DesktopConsole::exitError;
        }
        platform::Runtime::start(platform::Runtime::Mode::simulated);
        int status = 0;
        {
            DesktopConsole console(std::cout);
            if (!startDesktop(console)) return DesktopConsole::exitError;
            if (*options->script == "-")
                console.run(std::cin);
            else
                console.runFile(*options->script, std::cerr);
            status = console.finishScript();
        }
        return status;
    }
    platform::Runtime::start(platform::Runtime::Mode::real);
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
    std::cout << "Tilmora desktop console on the " << (options->desktop ? *options->desktop : "default")
              << " desktop. Type \"help\" for the commands, \"quit\" to leave.\n";
    console.execute("program launch");
    const int status = console.run(std::cin);
    std::cout << "\n";
    return status;
}
