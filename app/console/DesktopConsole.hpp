#pragma once

#include "platform/desktop/Geometry.hpp"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tilmora {

/// The desktop console: a small command language over the simulated desktop, for people trying
/// the program and for end-to-end tests. It reads commands (from a file, standard input or a
/// string), drives the desktop, the keyboard and the mouse, and writes a transcript: each command
/// echoed after "> ", then what it printed. A failed `expect` prints the expected and the actual
/// values and makes the exit status 1; a command it cannot run prints "error: line N: ..." and
/// makes the exit status 2 (errors win over failed expects). The language is described in the
/// README; commands are only ever added, never renamed.
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
        /// Called once before the first command: the place where the program's application
        /// object is started inside the console.
        std::function<void(DesktopConsole&)> startApplication;
    };

    static constexpr int exitOk = 0;
    static constexpr int exitExpectFailed = 1;
    static constexpr int exitError = 2;

    explicit DesktopConsole(std::ostream& out);
    DesktopConsole(std::ostream& out, Options options);
    ~DesktopConsole();
    DesktopConsole(const DesktopConsole&) = delete;
    DesktopConsole& operator=(const DesktopConsole&) = delete;

    /// Runs one line (a command, a comment or a blank line). False when it failed (an error or a
    /// failed expectation). "quit" and "exit" end `run`.
    bool execute(const std::string& line);
    /// Runs every line of `in` until its end or "quit"; returns `exitStatus()`.
    int run(std::istream& in);
    int runString(const std::string& script);
    /// 0 so far, 1 after a failed expectation, 2 after an error.
    int exitStatus() const { return status_; }
    bool quitRequested() const { return quit_; }

    /// The desktop the interactive program starts on: the laptop with a 1920 x 1080 display to its
    /// right, TextEdit, Safari and Notes installed, TextEdit running with one window.
    void useDefaultDesktop();

private:
    struct Token {
        std::string text;
        bool quoted = false;
    };
    using Args = std::vector<Token>;

    void dispatch(const Args& args);
    void cmdDesktop(const Args& args);
    void cmdScreen(const Args& args);
    void cmdApp(const Args& args);
    void cmdWindow(const Args& args);
    void cmdKey(const Args& args);
    void cmdMouse(const Args& args);
    void cmdDrag(const Args& args);
    void cmdWait(const Args& args);
    void cmdShow(const Args& args);
    void cmdExpect(const Args& args);
    void cmdHelp();

    void loadDesktopJson(const std::string& text);
    /// Lets everything due at this instant happen (main queue, timers, scheduled events).
    void settle();
    void advance(double seconds);
    void installRouting();
    void failExpectation(const std::string& what, const std::string& expected, const std::string& actual);

    std::ostream& out_;
    Options options_;
    int status_ = exitOk;
    bool quit_ = false;
    bool started_ = false;
    int lineNumber_ = 0;
    std::uintmax_t logOffset_ = 0;
};

} // namespace tilmora
