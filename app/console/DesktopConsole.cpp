#include "console/DesktopConsole.hpp"

#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/CommandInterrupted.hpp"
#include "console/CommandTable.hpp"
#include "console/ConsoleSession.hpp"
#include "console/ConsoleText.hpp"
#include "console/DesktopFile.hpp"
#include "console/ProgramHost.hpp"
#include "console/ScriptedAnswers.hpp"
#include "console/SessionSignals.hpp"
#include "console/ToastJournal.hpp"
#include "console/Tokenizer.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/control/SimInput.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/UserDefaults.hpp"

#include <exception>
#include <filesystem>
#include <istream>
#include <new>
#include <ostream>
#include <sstream>

namespace tilmora {

using platform::CGPoint;
using platform::SimDesktop;
using platform::SimInput;

DesktopConsole::DesktopConsole(std::ostream& out)
    : DesktopConsole(out, Options()) {}

DesktopConsole::DesktopConsole(std::ostream& out, Options options)
    : options_(std::move(options))
    , session_(std::make_unique<ConsoleSession>(
          out, options_.clock, options_.commands ? *options_.commands : CommandTable::builtIn())) {
    session_->setErrorsSetStatus(options_.errorsSetStatus);
    session_->setInteractive(options_.interactive);
    installRouting();
}

DesktopConsole::~DesktopConsole() {
    // A program still running ends with the console, before any shared instance goes.
    if (session_->programState() != ConsoleSession::ProgramState::notLaunched) ProgramHost::shared().end();
    ScriptedAnswers::shared().uninstall();
    auto& input = SimInput::shared();
    input.setKeysGoToProgram(nullptr);
    input.setPointerGoesToProgram(nullptr);
    input.setOtherApplicationReceiver(nullptr);
}

void DesktopConsole::installRouting() {
    auto& input = SimInput::shared();
    // Keys go to the program while it is the frontmost application.
    input.setKeysGoToProgram([] {
        auto& desktop = SimDesktop::shared();
        return desktop.frontmost() == desktop.programPid();
    });
    // The pointer reaches the program when the window under it is one of the program's own.
    input.setPointerGoesToProgram([](CGPoint p) {
        auto& desktop = SimDesktop::shared();
        auto hit = desktop.windowAt(p);
        return hit && hit->pid == desktop.programPid();
    });
    // Clicks and title-bar drags on other applications' windows are the simulator's own
    // behaviour (`SimInput`); the console adds nothing to them.
    // `expect toast` sees the toasts shown from here on.
    ToastJournal::shared().startRecording();
    // `alert answer` answers alerts and the other modal windows.
    ScriptedAnswers::shared().install();
}

int DesktopConsole::exitStatus() const {
    return session_->status();
}

bool DesktopConsole::quitRequested() const {
    return session_->quitRequested();
}

bool DesktopConsole::execute(const std::string& rawLine) {
    return executeLine(rawLine, true);
}

bool DesktopConsole::prepare(const std::string& line) {
    return executeLine(line, false);
}

bool DesktopConsole::executeLine(const std::string& rawLine, bool counted) {
    if (counted) session_->beginLine();
    const auto line = Tokenizer::commandText(rawLine);
    if (!line) return true;
    if (options_.echoCommands) session_->out() << "> " << ConsoleText::controlsEscaped(*line) << "\n";
    const int failuresBefore = session_->failures();
    runCommand(*line);
    session_->out().flush();
    return session_->failures() == failuresBefore;
}

void DesktopConsole::runCommand(const std::string& line) {
    // The one place where a command's failure becomes "error: line N: ...".
    try {
        const CommandArgs args(Tokenizer::split(line));
        if (!started_) {
            started_ = true;
            if (options_.startApplication) options_.startApplication(*this);
        }
        session_->commands().run(*session_, args);
        session_->settle();
    } catch (const CommandInterrupted&) {
        // A signal stopped the command: an interrupt returns to the prompt; a signal that ends the
        // session ends it after this line.
        if (SessionSignals::takeInterrupt()) session_->out() << "\ninterrupted\n";
    } catch (const CommandError& e) {
        session_->reportError(e.what(), e.listed);
    } catch (const platform::Error& e) {
        session_->reportError(e.what());
    } catch (const std::bad_alloc&) {
        session_->reportError("out of memory");
    } catch (const std::exception& e) {
        // Whatever else a command's work throws (a file system error, a standard library check)
        // is that command's failure, not the console's end.
        session_->reportError(e.what());
    } catch (...) {
        session_->reportError("unexpected failure");
    }
    reportAnswerProblems();
    noteProgramEnd();
}

void DesktopConsole::reportAnswerProblems() {
    for (const auto& problem : ScriptedAnswers::shared().takeProblems())
        session_->reportError(problem);
}

void DesktopConsole::noteProgramEnd() {
    // The program quit by itself (its Quit item or chord): its objects go now.
    auto& host = ProgramHost::shared();
    if (session_->programState() != ConsoleSession::ProgramState::running || !host.terminated()) return;
    host.end();
    session_->setProgramState(ConsoleSession::ProgramState::quit);
}

int DesktopConsole::run(const LineSource& next) {
    bool first = true;
    while (!session_->quitRequested() && SessionSignals::endingSignal() == 0) {
        if (options_.prompt) session_->out() << "tilmora> " << std::flush;
        auto line = next();
        if (!line) break;
        // A UTF-8 byte-order mark before the first line is not part of the command.
        if (first && line->starts_with("\xEF\xBB\xBF")) line->erase(0, 3);
        first = false;
        execute(*line);
    }
    platform::UserDefaults::synchronizeAll();
    return session_->status();
}

int DesktopConsole::run(std::istream& in) {
    return run([&in]() -> std::optional<std::string> {
        std::string line;
        if (!std::getline(in, line)) return std::nullopt;
        return line;
    });
}

int DesktopConsole::runString(const std::string& script) {
    std::istringstream in(script);
    return run(in);
}

int DesktopConsole::runFile(const std::string& path, std::ostream& errors) {
    std::string script;
    try {
        script = platform::FileSystem::readRegularFile(path, maxFileBytes);
    } catch (const platform::Error& e) {
        errors << "tilmora: cannot read script: " << path << ": " << ConsoleText::fileProblem(e.what())
               << "\n";
        session_->markError();
        refused_ = true;
        return session_->status();
    }
    return runString(script);
}

int DesktopConsole::finishScript() {
    if (refused_) return exitError;
    auto& answers = ScriptedAnswers::shared();
    for (const auto& answer : answers.pending())
        session_->reportError("the answer " + answer.command + " was never used: no alert or modal window took it",
                              answer.line);
    answers.clearPending();
    const int expectations = session_->expectations();
    const int failed = session_->failedExpectations();
    const int errors = session_->errors();
    auto& out = session_->out();
    // The same words whatever the counts, so that a script's last line is easy to match.
    if (failed == 0 && errors == 0)
        out << "passed: " << expectations << " expects\n";
    else
        out << "failed: " << failed << " of " << expectations << " expects, " << errors << " errors\n";
    out.flush();
    return failed > 0 ? exitExpectFailed : errors > 0 ? exitError : exitOk;
}

void DesktopConsole::useDesktop(const std::string& nameOrFile) {
    if (!DesktopFile::useNamed(nameOrFile)) {
        std::error_code ec;
        if (!std::filesystem::exists(nameOrFile, ec))
            throw CommandError("unknown desktop: " + nameOrFile + " (" + DesktopFile::names() + ", or a desktop file)");
        DesktopFile::loadFile(nameOrFile);
    }
    session_->settle();
    session_->setStartDesktop(nameOrFile);
}

void DesktopConsole::useDefaultDesktop() {
    session_->useDefaultDesktop();
    session_->setStartDesktop("default");
}

} // namespace tilmora
