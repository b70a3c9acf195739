#include "console/ConsoleInput.hpp"

#include "console/SessionSignals.hpp"
#include "platform/dispatch/RunLoop.hpp"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <limits>
#include <utility>

#include <editline/readline.h>
#include <unistd.h>

namespace tilmora {

namespace {

constexpr int kHistoryLines = 1000;

// libedit's readline interface keeps one editor per process: what its callbacks reach.
struct EditorState {
    std::vector<std::string> completions;
    std::optional<std::string> line;
    bool lineDone = false;
    bool atEnd = false;
};
EditorState* editor = nullptr;

// The editor reads its characters here, once the console's wait saw standard input readable (the
// rest of a key's sequence follows at once). The end of the input ends the session.
int readCharacter(FILE*) {
    for (;;) {
        unsigned char byte = 0;
        const ssize_t n = ::read(STDIN_FILENO, &byte, 1);
        if (n == 1) return byte;
        if (n < 0 && errno == EINTR) continue;
        if (editor != nullptr) {
            editor->lineDone = true;
            editor->atEnd = true;
        }
        return EOF;
    }
}

void onLine(char* text) {
    if (editor == nullptr) return;
    editor->lineDone = true;
    if (text == nullptr) {
        editor->atEnd = true;
    } else {
        editor->line = text;
        std::free(text);
    }
}

// Offers, one per call, the command names that start with `text`; each a string of malloc's that
// the editor frees.
char* nextCompletion(const char* text, int state) {
    static std::size_t index = 0;
    if (state == 0) index = 0;
    if (editor == nullptr) return nullptr;
    const std::string_view prefix(text);
    while (index < editor->completions.size()) {
        const std::string& word = editor->completions[index++];
        if (word.starts_with(prefix)) return ::strdup(word.c_str());
    }
    return nullptr;
}

// Only the first word of a line is completed: the command's name.
char** completeCommand(const char* text, int start, int) {
    rl_attempted_completion_over = 1;
    if (start != 0) return nullptr;
    return rl_completion_matches(text, nextCompletion);
}

} // namespace

ConsoleInput::ConsoleInput(Options options)
    : options_(std::move(options)) {
    if (!options_.lineEditing) return;
    editor = new EditorState{options_.completions, std::nullopt, false, false};
    // The console handles the signals itself (`SessionSignals`).
    rl_catch_signals = 0;
    rl_catch_sigwinch = 0;
    rl_instream = stdin;
    rl_outstream = stdout;
    rl_getc_function = readCharacter;
    rl_attempted_completion_function = completeCommand;
    using_history();
    stifle_history(kHistoryLines);
}

ConsoleInput::~ConsoleInput() {
    if (!options_.lineEditing) return;
    stopEditing();
    if (historyFile_) write_history(historyFile_->c_str());
    clear_history();
    rl_attempted_completion_function = nullptr;
    rl_getc_function = nullptr;
    delete editor;
    editor = nullptr;
}

bool ConsoleInput::isTerminal(int descriptor) {
    return ::isatty(descriptor) == 1;
}

void ConsoleInput::setHistoryFile(const std::filesystem::path& path) {
    if (!options_.lineEditing) return;
    historyFile_ = path;
    std::error_code ec;
    if (std::filesystem::is_regular_file(path, ec)) read_history(path.c_str());
}

std::optional<std::string> ConsoleInput::nextLine() {
    std::cout.flush();
    // An interrupt that came while the last command ran was for that command.
    SessionSignals::takeInterrupt();
    return options_.lineEditing ? nextEditedLine() : nextPlainLine();
}

bool ConsoleInput::waitForInput(const std::function<void()>& interrupted) {
    auto& loop = platform::RunLoop::main();
    const double forever = std::numeric_limits<double>::infinity();
    const int input = options_.lineEditing ? STDIN_FILENO : options_.descriptor;
    for (;;) {
        if (SessionSignals::endingSignal() != 0) return false;
        const auto ready = loop.runUntilReadable({SessionSignals::descriptor(), input}, forever);
        if (!ready) continue;
        if (*ready == 1) return true;
        SessionSignals::drain();
        if (SessionSignals::takeInterrupt()) interrupted();
    }
}

std::optional<std::string> ConsoleInput::nextPlainLine() {
    if (!options_.prompt.empty()) std::cout << options_.prompt << std::flush;
    for (;;) {
        if (const auto newline = pending_.find('\n'); newline != std::string::npos) {
            std::string line = pending_.substr(0, newline);
            pending_.erase(0, newline + 1);
            return line;
        }
        if (atEnd_) {
            if (pending_.empty()) return std::nullopt;
            return std::exchange(pending_, {});
        }
        const bool waited = waitForInput([this] {
            // The terminal dropped the line being typed.
            std::cout << "\n" << options_.prompt << std::flush;
        });
        if (!waited) return std::nullopt;
        if (!readAvailable()) atEnd_ = true;
    }
}

bool ConsoleInput::readAvailable() {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(options_.descriptor, buffer, sizeof buffer);
        if (n > 0) {
            pending_.append(buffer, static_cast<std::size_t>(n));
            return true;
        }
        if (n < 0 && errno == EINTR) continue;
        // A descriptor that says it is readable and then has nothing (EAGAIN) is read again later.
        return n < 0 && errno == EAGAIN;
    }
}

void ConsoleInput::startEditing() {
    if (editing_) return;
    editing_ = true;
    editor->line.reset();
    editor->lineDone = false;
    rl_callback_handler_install(options_.prompt.c_str(), onLine);
}

void ConsoleInput::stopEditing() {
    if (!editing_) return;
    editing_ = false;
    rl_callback_handler_remove();
    std::fflush(stdout);
}

std::optional<std::string> ConsoleInput::nextEditedLine() {
    if (editor->atEnd) return std::nullopt;
    startEditing();
    for (;;) {
        const bool waited = waitForInput([this] {
            // Ctrl-C at the prompt: the line is dropped and a fresh prompt asks again (installing
            // the editor's handler anew starts an empty line).
            stopEditing();
            std::fputs("^C\n", stdout);
            std::fflush(stdout);
            startEditing();
        });
        if (!waited) {
            stopEditing();
            std::fputs("\n", stdout);
            return std::nullopt;
        }
        rl_callback_read_char();
        if (!editor->lineDone) continue;
        stopEditing();
        if (editor->atEnd) return std::nullopt;
        std::string line = std::move(*editor->line);
        if (line.find_first_not_of(" \t") != std::string::npos) add_history(line.c_str());
        return line;
    }
}

} // namespace tilmora
