#include "console/ConsoleSession.hpp"

#include "console/CommandError.hpp"
#include "console/CommandInterrupted.hpp"
#include "console/ConsoleText.hpp"

#include "console/DesktopFile.hpp"
#include "console/SessionSignals.hpp"
#include "model/Log.hpp"
#include "platform/control/SimScheduler.hpp"
#include "platform/dispatch/MediaTime.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/FileSystem.hpp"

#include <filesystem>
#include <ostream>

namespace tilmora {

ConsoleSession::ConsoleSession(std::ostream& out, DesktopConsole::Clock clock, const CommandTable& commands)
    : out_(out)
    , clock_(clock)
    , commands_(commands) {
    if (auto path = logFilePath()) {
        std::error_code ec;
        auto size = std::filesystem::file_size(*path, ec);
        logOffset_ = ec ? 0 : size;
    }
}

void ConsoleSession::requireProgramRunning() const {
    if (programState_ != ProgramState::running) throw CommandError("the program is not running");
}

void ConsoleSession::settle() {
    platform::SimScheduler::shared().drainMainQueue();
}

void ConsoleSession::advance(double seconds) {
    if (clock_ == DesktopConsole::Clock::realTime) {
        // The wait ends early when a signal's byte reaches the pipe.
        auto& loop = platform::RunLoop::main();
        const double until = platform::mediaTime() + seconds;
        for (double left = seconds; left > 0 && !SessionSignals::stopsCommand();
             left = until - platform::mediaTime()) {
            if (loop.runUntilReadable({SessionSignals::descriptor()}, left)) SessionSignals::drain();
        }
    } else {
        platform::SimScheduler::shared().runUntil(&SessionSignals::stopsCommand, seconds);
    }
    if (SessionSignals::stopsCommand()) throw CommandInterrupted();
}

void ConsoleSession::failExpectation(const std::string& what, const std::string& expected,
                                     const std::string& actual) {
    // The parts may hold names from the script, the program or a file: each stays on its line.
    out_ << "expect failed: line " << lineNumber_ << ": " << ConsoleText::controlsEscaped(what) << "\n";
    out_ << "  expected: " << ConsoleText::controlsEscaped(expected) << "\n";
    out_ << "  actual:   " << ConsoleText::controlsEscaped(actual) << "\n";
    ++failedExpectations_;
    ++failures_;
    if (status_ == DesktopConsole::exitOk) status_ = DesktopConsole::exitExpectFailed;
}

void ConsoleSession::reportError(const std::string& message, const std::vector<std::string>& listed) {
    reportError(message, lineNumber_, listed);
}

void ConsoleSession::reportError(const std::string& message, int line, const std::vector<std::string>& listed) {
    // A message may repeat what the script said: its control characters print escaped.
    out_ << "error: ";
    if (line > 0) out_ << "line " << line << ": ";
    out_ << ConsoleText::controlsEscaped(message) << "\n";
    for (const auto& entry : listed)
        out_ << "  " << ConsoleText::controlsEscaped(entry) << "\n";
    ++errors_;
    ++failures_;
    if (errorsSetStatus_) status_ = DesktopConsole::exitError;
}

void ConsoleSession::useDefaultDesktop() {
    DesktopFile::load(DesktopFile::defaultDesktop());
    settle();
}

std::string ConsoleSession::takeNewLog() {
    auto path = logFilePath();
    if (!path) return {};
    // Looked at before it is opened (a path that cannot be examined throws the library's error):
    // nothing there, or anything but a regular file, a pipe or a device, gives no new lines.
    if (!std::filesystem::is_regular_file(std::filesystem::status(*path))) return {};
    std::string text;
    try {
        text = platform::FileSystem::readRegularFile(*path, platform::FileSystem::maxWholeFileBytes, logOffset_);
    } catch (const platform::Error&) {
        return {};
    }
    logOffset_ += text.size();
    return text;
}

} // namespace tilmora
