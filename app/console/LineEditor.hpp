#pragma once

#include <cstddef>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

struct editline;
struct historyW;

namespace tilmora {

/// Line editing on the terminal with libedit's own interface (`el_wgets` in unbuffered mode):
/// each call of `feed` hands the editor the keys standard input holds, one key a call of the
/// library, and says when a line is complete. Keys are read as wide characters in the encoding of
/// the process's locale (`LC_CTYPE`, set by the caller), so UTF-8 typed or pasted reaches the line
/// as typed under a UTF-8 locale; a byte that is not part of a character of the locale's encoding
/// is dropped. Emacs key bindings, the history of the lines entered (Up recalls a line), Tab
/// completing the first word from a list and the later words from a completer (a title in
/// quotes: a word begun with or without its opening quote completes to the quoted title; a word
/// begun with a quote completes to any candidate in quotes; words match in a spelling the caller
/// gives). The editor never waits for a key when a wake descriptor (the console's signal pipe) is
/// readable, so a signal is seen at once.
///
/// A line of more than `maxLineBytes` bytes (UTF-8) is refused: `feed` says so as soon as the
/// line passes the bound, and the rest of it, up to its newline, is read and dropped without being
/// shown. Editing costs time linear in the line's length: a key typed at the end of the line is
/// drawn without redrawing the line.
///
/// Needs standard input and output to be a terminal. The terminal is in the editor's mode between
/// `start` and `stop` only. Nothing here writes a file or logs. At most one at a time; main thread.
class LineEditor {
public:
    struct Options {
        /// Printed before each line.
        std::string prompt;
        /// The words Tab completes at the start of a line.
        std::vector<std::string> completions;
        /// The words Tab completes after the first, given the words before the one being typed
        /// (their texts, without quotes); a candidate that begins with a double quote is a quoted
        /// title ("\"Right Half\""). None: Tab completes only the first word.
        std::function<std::vector<std::string>(const std::vector<std::string>&)> completer = nullptr;
        /// The spelling in which Tab matches a typed word with a candidate (both whole, quotes
        /// included), such as a title's ASCII spelling, so that "Grid 2 x completes to "Grid 2 × 2".
        /// None: as they stand.
        std::function<std::string(const std::string&)> spelling = nullptr;
        /// The longest line accepted, in bytes of UTF-8.
        std::size_t maxLineBytes = 64 * 1024;
        /// The most lines the history keeps.
        int historyLines = 1000;
        /// Readable when the editor must stop waiting for a key (-1: none).
        int wakeDescriptor = -1;
    };

    /// What `feed` found.
    enum class Step {
        /// No more keys for now: wait until standard input (or the wake descriptor) is readable.
        waiting,
        /// A line is complete: `takeLine`.
        line,
        /// The line being typed is longer than `maxLineBytes`: it is dropped with the rest of it;
        /// call `feed` again (a fresh prompt follows once its end was read).
        tooLong,
        /// The input ended (Ctrl-D on an empty line, or standard input closed).
        end,
    };

    explicit LineEditor(Options options);
    /// Leaves the terminal as it found it.
    ~LineEditor();
    LineEditor(const LineEditor&) = delete;
    LineEditor& operator=(const LineEditor&) = delete;

    /// Puts the terminal in the editor's mode and prints the prompt on an empty line.
    void start();
    /// Puts the terminal back in its usual mode (a command's output, Ctrl-C as a signal).
    void stop();
    /// Drops the line being typed, prints "^C" and a fresh prompt (Ctrl-C at the prompt).
    void interrupt();

    /// Edits with the keys that can be read now; returns as soon as a line is complete, the line
    /// is refused, the input ends, or no key is left (or the wake descriptor is readable).
    Step feed();
    /// The line completed last, in UTF-8, without its newline. A line that is not blank joins the
    /// history.
    std::string takeLine();

    /// Adds the lines of `text`, a history file's contents (libedit's format, starting with its
    /// header line), to the history. False when libedit cannot read them.
    bool loadHistory(const std::string& text);
    /// The history as a history file holds it, newest lines kept first: at most `maxBytes` bytes
    /// (older lines left out to fit).
    std::string historyText(std::size_t maxBytes) const;

private:
    static int readKey(editline* el, wchar_t* key);
    static wchar_t* promptText(editline* el);
    static unsigned char complete(editline* el, wint_t key);
    static LineEditor& of(editline* el);
    /// Whether a key can be read now and the wake descriptor is quiet.
    bool keyReady() const;
    /// Waits for a key; false when the wake descriptor became readable first.
    bool waitForKey() const;
    /// Ends the line being typed and starts an empty one with a fresh prompt.
    void restart();

    Options options_;
    std::wstring prompt_;
    editline* el_ = nullptr;
    historyW* history_ = nullptr;
    std::mbstate_t decoding_{};
    std::string line_;
    bool editing_ = false;
    bool atEnd_ = false;
    bool discarding_ = false;
    bool restartDue_ = false;
};

} // namespace tilmora
