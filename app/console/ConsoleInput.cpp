#include "console/ConsoleInput.hpp"

#include "console/LineEditor.hpp"
#include "console/LineHistoryFile.hpp"
#include "console/SessionSignals.hpp"
#include "platform/dispatch/RunLoop.hpp"

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <limits>
#include <utility>

#include <unistd.h>

namespace tilmora {

namespace {

constexpr int kHistoryLines = 1000;

} // namespace

ConsoleInput::ConsoleInput(Options options)
    : options_(std::move(options)) {
    if (!options_.lineEditing) return;
    editor_ =
        std::make_unique<LineEditor>(LineEditor::Options{.prompt = options_.prompt,
                                                         .completions = options_.completions,
                                                         .completer = options_.completer,
                                                         .spelling = options_.spelling,
                                                         .maxLineBytes = maxLineBytes,
                                                         .historyLines = kHistoryLines,
                                                         .wakeDescriptor = SessionSignals::descriptor()});
}

ConsoleInput::~ConsoleInput() {
    if (!editor_) return;
    editor_->stop();
    writeHistory();
}

bool ConsoleInput::isTerminal(int descriptor) {
    return ::isatty(descriptor) == 1;
}

void ConsoleInput::setHistoryFile(const std::filesystem::path& path) {
    if (!editor_) return;
    const LineHistoryFile file(path);
    std::string problem;
    const auto text = file.read(problem);
    if (text && !text->empty() && !editor_->loadHistory(*text)) problem = "cannot be read as a line history";
    if (!problem.empty()) {
        std::cout << "Line history is off for this session: " << path.string() << " " << problem
                  << "; it is left as it is.\n";
        return;
    }
    historyFile_ = path;
}

void ConsoleInput::writeHistory() {
    if (!historyFile_) return;
    const LineHistoryFile file(*historyFile_);
    std::string problem;
    if (!file.write(editor_->historyText(LineHistoryFile::maxBytes), problem))
        std::cout << "The line history was not kept: " << historyFile_->string() << " " << problem << ".\n";
    std::cout.flush();
}

std::optional<std::string> ConsoleInput::nextLine() {
    std::cout.flush();
    // An interrupt that came while the last command ran was for that command.
    SessionSignals::takeInterrupt();
    return editor_ ? nextEditedLine() : nextPlainLine();
}

bool ConsoleInput::waitForInput(const std::function<void()>& interrupted) {
    auto& loop = platform::RunLoop::main();
    const double forever = std::numeric_limits<double>::infinity();
    const int input = editor_ ? STDIN_FILENO : options_.descriptor;
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

std::optional<std::string> ConsoleInput::nextEditedLine() {
    if (atEnd_) return std::nullopt;
    editor_->start();
    for (;;) {
        switch (editor_->feed()) {
        case LineEditor::Step::line:
            editor_->stop();
            return editor_->takeLine();
        case LineEditor::Step::end:
            editor_->stop();
            atEnd_ = true;
            return std::nullopt;
        case LineEditor::Step::tooLong:
            std::cout << "error: the line is longer than " << maxLineBytes
                      << " bytes and was not run; the rest of it is dropped\n"
                      << std::flush;
            continue;
        case LineEditor::Step::waiting:
            break;
        }
        // Ctrl-C at the prompt drops the line and asks again.
        if (!waitForInput([this] { editor_->interrupt(); })) {
            editor_->stop();
            std::fputs("\n", stdout);
            return std::nullopt;
        }
    }
}

} // namespace tilmora
