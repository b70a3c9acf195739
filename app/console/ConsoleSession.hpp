#pragma once

#include "console/DesktopConsole.hpp"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

namespace tilmora {

class CommandTable;

/// What a console command works with: the transcript, the clock, the exit status and the line
/// being run. One per `DesktopConsole`; main thread.
class ConsoleSession {
public:
    ConsoleSession(std::ostream& out, DesktopConsole::Clock clock, const CommandTable& commands);

    /// The transcript: a command prints its output here, each line ending in "\n".
    std::ostream& out() { return out_; }
    const CommandTable& commands() const { return commands_; }

    /// Lets everything due at this instant happen (main queue, timers, scheduled events).
    void settle();
    /// Lets `seconds` pass: on the virtual clock the scheduler runs that far; on the real clock the
    /// main run loop turns for that many real seconds. A signal (`SessionSignals`) stops it early:
    /// it then throws `CommandInterrupted`.
    void advance(double seconds);

    /// Prints "expect failed: line N: what" with both values; the exit status becomes 1 unless an
    /// error made it 2 already.
    void failExpectation(const std::string& what, const std::string& expected, const std::string& actual);
    /// Prints "error: line N: message" (N: the line being run, or `line`; "error: message" before
    /// the first line); the exit status becomes 2 unless errors leave it alone
    /// (`setErrorsSetStatus`).
    /// The lines of `listed` follow, one a line, indented by two spaces.
    void reportError(const std::string& message, const std::vector<std::string>& listed = {});
    void reportError(const std::string& message, int line, const std::vector<std::string>& listed = {});
    /// Whether an error makes the exit status 2 (scripts); an interactive session's does not.
    void setErrorsSetStatus(bool set) { errorsSetStatus_ = set; }
    /// Counts an `expect` that ran to its verdict (held or failed).
    void countExpectation() { ++expectations_; }
    /// The `expect` lines that ran to their verdict, those that failed, and the errors reported.
    int expectations() const { return expectations_; }
    int failedExpectations() const { return failedExpectations_; }
    int errors() const { return errors_; }
    /// Makes the exit status 2 for a failure reported elsewhere (before any line ran).
    void markError() { status_ = DesktopConsole::exitError; }

    /// Ends `DesktopConsole::run` after this line.
    void requestQuit() { quit_ = true; }
    bool quitRequested() const { return quit_; }
    int status() const { return status_; }
    /// Errors and failed expectations so far.
    int failures() const { return failures_; }
    /// The 1-based number of the line being run (blank lines and comments count); 0 before the
    /// first line.
    int lineNumber() const { return lineNumber_; }
    void beginLine() { ++lineNumber_; }

    /// Builds the default desktop (`DesktopFile::defaultDesktop`) and settles.
    void useDefaultDesktop();
    /// What the log file gained since the console started or since the last call.
    std::string takeNewLog();

    /// Where the program stands in this session: not yet launched, running, or quit (`program
    /// launch` then starts a new instance).
    enum class ProgramState { notLaunched, running, quit };
    ProgramState programState() const { return programState_; }
    void setProgramState(ProgramState state) { programState_ = state; }
    /// Throws `CommandError` "the program is not running" unless the program runs; commands that
    /// talk to the program (menus, its windows, quitting it) call this first.
    void requireProgramRunning() const;

    /// An interactive session answers what it did itself at its start with a note instead of an
    /// error: `desktop NAME` naming the desktop it started on while no `desktop`, `screen`, `app`
    /// or `window` command has run since (`onStartDesktop`), and `program launch` while the
    /// program runs. Scripts refuse both.
    void setInteractive(bool interactive) { interactive_ = interactive; }
    bool interactive() const { return interactive_; }
    /// Records the desktop (a name or the file as given) the session was built on at its start.
    void setStartDesktop(std::string nameOrFile) { startDesktop_ = std::move(nameOrFile); }
    /// Whether `nameOrFile` names the desktop the interactive session started on, and that
    /// desktop is as the session built it (no desktop command has run since).
    bool onStartDesktop(const std::string& nameOrFile) const {
        return interactive_ && !startDesktop_.empty() && startDesktop_ == nameOrFile;
    }
    /// A `desktop`, `screen`, `app` or `window` command runs: the desktop may no longer be the
    /// one the session started on.
    void leaveStartDesktop() { startDesktop_.clear(); }

private:
    std::ostream& out_;
    DesktopConsole::Clock clock_;
    const CommandTable& commands_;
    int status_ = DesktopConsole::exitOk;
    bool quit_ = false;
    bool errorsSetStatus_ = true;
    int failures_ = 0;
    int lineNumber_ = 0;
    int expectations_ = 0;
    int failedExpectations_ = 0;
    int errors_ = 0;
    std::uintmax_t logOffset_ = 0;
    ProgramState programState_ = ProgramState::notLaunched;
    bool interactive_ = false;
    std::string startDesktop_;
};

} // namespace tilmora
