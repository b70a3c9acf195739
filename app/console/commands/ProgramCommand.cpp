// program launch | quit; expect program running|stopped; expect log "text"

#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/CommandRegistration.hpp"
#include "console/ConsoleSession.hpp"
#include "console/ConsoleText.hpp"
#include "console/ExpectationRegistration.hpp"
#include "console/ProgramHost.hpp"
#include "console/ProgramWindows.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/control/SimScheduler.hpp"

namespace tilmora {

namespace {

using State = ConsoleSession::ProgramState;

// How long `program launch` waits for the UI start-up, seconds of the console's clock.
constexpr double readyTimeout = 5;
constexpr double readyStep = 0.05;

// Launches the program, or a new instance of it after it quit, and waits for its UI start-up.
void launchProgram(ConsoleSession& session) {
    if (session.programState() == State::running) {
        // An interactive session launches the program at its start.
        if (!session.interactive()) throw CommandError("the program is already running");
        session.out() << "note: the program is running already\n";
        return;
    }
    auto& host = ProgramHost::shared();
    host.launch();
    session.setProgramState(State::running);
    session.out() << "program launched\n";
    // The program runs without a display too (its paths for no screen), but nothing shows.
    if (platform::NSScreen::screens().empty()) session.out() << "note: " << ProgramWindows::noDisplay << "\n";
    double waited = 0;
    for (;;) {
        session.settle();
        auto shell = host.shell();
        if (shell && shell->didFinishUIInitialization()) {
            session.out() << "program ready\n";
            return;
        }
        if (waited >= readyTimeout) break;
        session.advance(readyStep);
        waited += readyStep;
    }
    session.out() << "program not ready after 5 s\n";
}

void programCommand(ConsoleSession& session, const CommandArgs& args) {
    const std::string& what = args.text(1);
    if (what == "launch") {
        launchProgram(session);
    } else if (what == "quit") {
        session.requireProgramRunning();
        session.setProgramState(State::quit);
        ProgramHost::shared().quit();
        session.out() << "program quit\n";
    } else {
        throw CommandError("usage: program launch | quit");
    }
}

// Whether the program runs: launched and not quit (by `program quit`, its Quit item or chord).
void expectProgram(ConsoleSession& session, const CommandArgs& args) {
    if (args.argumentCount() != 2 || (args.text(2) != "running" && args.text(2) != "stopped"))
        throw CommandError("usage: expect program running|stopped");
    const bool running = session.programState() == State::running;
    const std::string actual = running ? "running" : "stopped";
    if (actual != args.text(2)) session.failExpectation("program", args.text(2), actual);
}

// A line the program printed since the console started capturing its output contains the text.
// The journal keeps the newest output only; a search that finds nothing says when older lines
// are no longer kept.
void expectLog(ConsoleSession& session, const CommandArgs& args) {
    if (args.argumentCount() != 2) throw CommandError("usage: expect log \"text\"");
    const std::string& text = args.text(2);
    auto& host = ProgramHost::shared();
    const std::string& output = host.output();
    std::size_t start = 0;
    while (start < output.size()) {
        std::size_t end = output.find('\n', start);
        if (end == std::string::npos) end = output.size();
        if (std::string_view(output).substr(start, end - start).find(text) != std::string_view::npos) return;
        start = end + 1;
    }
    session.failExpectation("log " + ConsoleText::quote(text), "a log line containing it",
                            host.outputTruncated() ? "none in the newest 1 MiB kept (older lines are no longer kept)"
                                                   : "none");
}

const ExpectationRegistration expectations({{"log", expectLog}, {"program", expectProgram}});

const CommandRegistration registration({
    {.name = "program",
     .arguments = ArgumentCheck::exactly(1, "usage: program launch | quit"),
     .handler = programCommand,
     .help = {"program launch | quit", "expect program running|stopped",
              "expect log \"text\" | expect alert \"text\"   (anything since the script started)"},
     .words = {"launch", "quit"},
     .helpOrder = 50},
});

} // namespace

} // namespace tilmora
