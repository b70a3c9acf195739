#include "console/DesktopConsole.hpp"

#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/CommandTable.hpp"
#include "console/ConsoleSession.hpp"
#include "console/Tokenizer.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/control/SimInput.hpp"
#include "platform/foundation/Error.hpp"

#include <istream>
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
    installRouting();
}

DesktopConsole::~DesktopConsole() {
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
}

int DesktopConsole::exitStatus() const {
    return session_->status();
}

bool DesktopConsole::quitRequested() const {
    return session_->quitRequested();
}

bool DesktopConsole::execute(const std::string& rawLine) {
    session_->beginLine();
    const auto line = Tokenizer::commandText(rawLine);
    if (!line) return true;
    if (options_.echoCommands) session_->out() << "> " << *line << "\n";
    const int statusBefore = session_->status();
    runCommand(*line);
    session_->out().flush();
    return session_->status() == statusBefore;
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
    } catch (const CommandError& e) {
        session_->reportError(e.what());
    } catch (const platform::Error& e) {
        session_->reportError(e.what());
    }
}

int DesktopConsole::run(std::istream& in) {
    std::string line;
    while (!session_->quitRequested()) {
        if (options_.prompt) session_->out() << "tilmora> " << std::flush;
        if (!std::getline(in, line)) break;
        execute(line);
    }
    return session_->status();
}

int DesktopConsole::runString(const std::string& script) {
    std::istringstream in(script);
    return run(in);
}

void DesktopConsole::useDefaultDesktop() {
    session_->useDefaultDesktop();
}

} // namespace tilmora
