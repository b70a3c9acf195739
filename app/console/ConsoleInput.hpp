#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tilmora {

class LineEditor;

/// The lines of an interactive session, read from standard input while the program's main run
/// loop turns (`RunLoop::runUntilReadable`): timers, animations, deferred saves and queued
/// main-thread work go on while the session waits for a line. A signal (`SessionSignals`) ends
/// the wait: one that ends the session gives the end of input, an interrupt (Ctrl-C on a
/// terminal) clears the line being typed and asks again.
///
/// With line editing (standard input and output are terminals), the lines are edited with
/// `LineEditor` (libedit), fed the keys as they arrive: arrows, the session's history (also kept
/// in a file when one is given) and Tab completing the command names and the words after them, in the characters of the
/// locale's encoding. A typed line of more than `maxLineBytes` is refused with a message and the
/// rest of it dropped. While a command runs the terminal is in its usual mode, so Ctrl-C reaches
/// the program as a signal. Without line editing the input is read as it comes, a line at a time
/// (the last line may lack its newline). At most one line editor at a time; main thread.
class ConsoleInput {
public:
    struct Options {
        /// The descriptor read; line editing reads standard input.
        int descriptor = 0;
        /// Edit lines on the terminal (libedit).
        bool lineEditing = false;
        /// Printed before each line (by the editor when editing); empty for none.
        std::string prompt;
        /// The words Tab completes at the start of a line (the command names).
        std::vector<std::string> completions;
        /// The words Tab completes after the first (`LineEditor::Options::completer`).
        std::function<std::vector<std::string>(const std::vector<std::string>&)> completer = nullptr;
        /// The spelling in which Tab matches words (`LineEditor::Options::spelling`).
        std::function<std::string(const std::string&)> spelling = nullptr;
    };

    /// The longest typed line run, in bytes of UTF-8 (64 KiB).
    static constexpr std::size_t maxLineBytes = 64 * 1024;

    explicit ConsoleInput(Options options);
    /// Leaves the terminal as it found it and writes the history file, if any.
    ~ConsoleInput();
    ConsoleInput(const ConsoleInput&) = delete;
    ConsoleInput& operator=(const ConsoleInput&) = delete;

    /// Whether `descriptor` is a terminal.
    static bool isTerminal(int descriptor);

    /// Keeps the history in the file at `path` (`LineHistoryFile`): the lines it holds are read now
    /// (a missing file is an empty history), the session's are written when the input ends. When
    /// the path holds something else (a link, a pipe, a file that is no history), it is left as it
    /// is and one line on standard output says that history is off for this session. Line
    /// editing only.
    void setHistoryFile(const std::filesystem::path& path);

    /// The next line without its newline; none at the end of the input or when a signal ends the
    /// session.
    std::optional<std::string> nextLine();

private:
    std::optional<std::string> nextEditedLine();
    std::optional<std::string> nextPlainLine();
    /// Waits in the run loop for input or a signal; false when a signal ends the session.
    /// `interrupted` is called for each interrupt.
    bool waitForInput(const std::function<void()>& interrupted);
    /// Reads what standard input holds into `pending_`; false at its end.
    bool readAvailable();
    void writeHistory();

    Options options_;
    std::unique_ptr<LineEditor> editor_;
    std::string pending_;
    bool atEnd_ = false;
    std::optional<std::filesystem::path> historyFile_;
};

} // namespace tilmora
