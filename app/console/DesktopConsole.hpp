#pragma once

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

namespace tilmora {

class CommandTable;
class ConsoleSession;

/// The desktop console: a small command language over the simulated desktop, for people trying
/// the program and for end-to-end tests. It reads commands (from a file, standard input or a
/// string), drives the desktop, the keyboard and the mouse, and writes a transcript: each command
/// echoed after "> ", then what it printed. A failed `expect` prints the expected and the actual
/// values and makes the exit status 1; a command it cannot run prints "error: line N: ..." and
/// makes the exit status 2 (errors win over failed expects in `exitStatus`; a script's verdict
/// and exit status, `finishScript`, put failed expects first). The language is described in the
/// README; commands are only ever added, never renamed.
///
/// Each line is split into words (`Tokenizer`), and the first word names an entry of the command
/// table (`CommandTable`), which checks the number of arguments and runs the entry's handler. The
/// commands live in app/console/commands/, one file per command group, each adding its entries to
/// the built-in table. Every failure of a command is reported in one place, `execute`.
///
/// Coordinates are global (points, y up from the bottom of the main display); numbers print as
/// the shortest decimal text ("100.0", "0.5"). With the virtual clock, `wait` advances the
/// scheduler's clock; with the real clock it turns the main run loop for that many real seconds.
///
/// The console works on the shared simulated desktop and input (`SimDesktop`, `SimInput`); it does
/// not reset the platform itself (the program's entry and the test fixture do). Main thread.
class DesktopConsole {
public:
    enum class Clock { virtualTime, realTime };

    struct Options {
        Clock clock = Clock::virtualTime;
        /// Echo each command as "> " + command before its output (scripts).
        bool echoCommands = true;
        /// Print "tilmora> " before reading each line (interactive sessions).
        bool prompt = false;
        /// Whether an error makes the exit status 2 (scripts). An interactive session's status is
        /// 0, or 1 after a failed expect, whatever the errors.
        bool errorsSetStatus = true;
        /// An interactive session: `desktop` naming the desktop it started on (`useDesktop`,
        /// `useDefaultDesktop`) and `program launch` while the program runs are answered with a
        /// note, not an error (`ConsoleSession::setInteractive`).
        bool interactive = false;
        /// Called once before the first command: the place where the program's application
        /// object is started inside the console.
        std::function<void(DesktopConsole&)> startApplication;
        /// The commands the console knows; null for the built-in table. The table must outlive
        /// the console.
        const CommandTable* commands = nullptr;
    };

    static constexpr int exitOk = 0;
    static constexpr int exitExpectFailed = 1;
    static constexpr int exitError = 2;
    /// The largest script or desktop file the console reads (16 MiB).
    static constexpr std::size_t maxFileBytes = 16u * 1024u * 1024u;

    explicit DesktopConsole(std::ostream& out);
    DesktopConsole(std::ostream& out, Options options);
    ~DesktopConsole();
    DesktopConsole(const DesktopConsole&) = delete;
    DesktopConsole& operator=(const DesktopConsole&) = delete;

    /// Runs one line (a command, a comment or a blank line). False when it failed (an error or a
    /// failed expectation). "quit" and "exit" end `run`.
    bool execute(const std::string& line);
    /// Runs one line before the input's first (the interactive session's "program launch"): the
    /// first line read stays line 1, and errors print without a line number. False when it failed.
    bool prepare(const std::string& line);
    /// Where `run` takes its lines from: the next line without its newline, none at the end.
    using LineSource = std::function<std::optional<std::string>()>;
    /// Runs every line `next` gives until its end, "quit" or a signal that ends the session
    /// (`SessionSignals`); writes the settings; returns `exitStatus()`.
    int run(const LineSource& next);
    /// Runs every line of `in` until its end or "quit"; returns `exitStatus()`.
    int run(std::istream& in);
    int runString(const std::string& script);
    /// Runs the script file at `path`. A folder, a device, an unreadable or too large file runs
    /// nothing: "tilmora: cannot read script: <path>: <reason>" goes to `errors` and the result is 2.
    int runFile(const std::string& path, std::ostream& errors);
    /// 0 so far, 1 after a failed expectation, 2 after an error.
    int exitStatus() const;

    /// Ends a script that ran to its end (or to "quit"): names each answer no prompt took as an
    /// error on the line that queued it ("error: line N: the answer alert answer 2 was never
    /// used ..."), then prints the verdict, "passed: N expects" or "failed: K of N expects, E
    /// errors" (N: the expect lines that ran to their verdict, K: those that failed, E: the errors),
    /// and returns the script's exit status: 1 when an expect failed, else 2 after an error, else
    /// 0. A script `runFile` refused prints nothing here and gives 2. A script ended by a signal
    /// does not come here.
    int finishScript();

    /// Starts on a named desktop ("default", "laptop", "laptop-external", "two-displays") or the
    /// desktop file at `nameOrFile`, as `desktop` and `desktop load` build them. Throws
    /// `CommandError` when the file cannot be read or is not a desktop.
    void useDesktop(const std::string& nameOrFile);
    bool quitRequested() const;

    /// The desktop the interactive program starts on: the laptop with a 1920 x 1080 display to its
    /// right, TextEdit, Safari and Notes installed, TextEdit running with one window.
    void useDefaultDesktop();

private:
    /// Runs `rawLine`, counted as the next line or not.
    bool executeLine(const std::string& rawLine, bool counted);
    /// Splits `line` and runs its command; reports whatever makes it fail.
    void runCommand(const std::string& line);
    void installRouting();
    /// Ends the program's objects when it terminated during the command that just ran.
    void noteProgramEnd();
    /// Reports the queued answers that did not fit the prompts that took them during the command.
    void reportAnswerProblems();

    Options options_;
    std::unique_ptr<ConsoleSession> session_;
    bool started_ = false;
    /// `runFile` could not read its script.
    bool refused_ = false;
};

} // namespace tilmora
