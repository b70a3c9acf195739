#include "console/ConsoleInput.hpp"
#include "console/SessionSignals.hpp"

#include "platform/input/NSEvent.hpp"
#include "support/ConsoleScriptTest.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <string>

#include <unistd.h>

using tilmora::ConsoleInput;
using tilmora::DesktopConsole;
using tilmora::SessionSignals;

namespace {

class SessionSignalsTest : public ConsoleScriptTest {
protected:
    void TearDown() override {
        SessionSignals::uninstall();
        ConsoleScriptTest::TearDown();
    }
};

struct SignalCase {
    SessionSignals::Interrupt interrupt;
    int signal;
    int endingSignal; ///< 0: the session goes on
    const char* transcript;
};

// A signal that comes while a command lets time pass stops that command (on the virtual clock
// too): one that ends the session runs nothing after that line; an interrupt goes on with the
// next line.
TEST_F(SessionSignalsTest, ASignalStopsTheWaitAndEndsTheSessionOrInterruptsTheCommand) {
    const std::string ended = "> desktop laptop\n> wait 100\n";
    const SignalCase cases[] = {
        {SessionSignals::Interrupt::endsSession, SIGTERM, SIGTERM, ended.c_str()},
        {SessionSignals::Interrupt::stopsCommand, SIGHUP, SIGHUP, ended.c_str()},
        {SessionSignals::Interrupt::endsSession, SIGINT, SIGINT, ended.c_str()},
        {SessionSignals::Interrupt::stopsCommand, SIGINT, 0,
         "> desktop laptop\n> wait 100\n\ninterrupted\n> expect screens 1\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.signal);
        sim().reset();
        SessionSignals::install(c.interrupt);
        const double start = sim().now();
        sim().schedule(start + 5, [signal = c.signal] { std::raise(signal); });
        EXPECT_EQ(run("desktop laptop\nwait 100\nexpect screens 1\n"), DesktopConsole::exitOk);
        EXPECT_EQ(transcript(), c.transcript);
        EXPECT_EQ(SessionSignals::endingSignal(), c.endingSignal);
        EXPECT_DOUBLE_EQ(sim().now() - start, 5);
        SessionSignals::uninstall();
    }
}

// A drag stopped half way lets go of the button where the pointer stands; its later steps never
// come.
TEST_F(SessionSignalsTest, AnInterruptedDragReleasesTheButtonWhereThePointerStands) {
    SessionSignals::install(SessionSignals::Interrupt::stopsCommand);
    sim().schedule(sim().now() + 0.1, [] { std::raise(SIGINT); });
    EXPECT_EQ(run("desktop laptop\ndrag 100 100 to 500 100 steps 4\nwait 1\nexpect pointer 200 100\n"),
              DesktopConsole::exitOk)
        << transcript();
    EXPECT_NE(transcript().find("interrupted\n"), std::string::npos);
    EXPECT_EQ(platform::NSEvent::pressedMouseButtons(), 0u);
}

// The session's input: lines as they come (the last may lack its newline); a signal that ends the
// session ends the wait for more.
TEST_F(SessionSignalsTest, InputGivesTheLinesThenEndsAtTheEndOrAtASignal) {
    SessionSignals::install(SessionSignals::Interrupt::endsSession);
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const std::string text = "show screens\n\nlast";
    ASSERT_EQ(::write(ends[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    ConsoleInput input({.descriptor = ends[0], .lineEditing = false, .prompt = {}, .completions = {}});
    EXPECT_EQ(input.nextLine(), "show screens");
    EXPECT_EQ(input.nextLine(), "");
    ::close(ends[1]);
    EXPECT_EQ(input.nextLine(), "last");
    EXPECT_EQ(input.nextLine(), std::nullopt);
    ::close(ends[0]);

    ASSERT_EQ(::pipe(ends), 0);
    ConsoleInput waiting({.descriptor = ends[0], .lineEditing = false, .prompt = {}, .completions = {}});
    std::raise(SIGTERM);
    EXPECT_EQ(waiting.nextLine(), std::nullopt);
    ::close(ends[0]);
    ::close(ends[1]);
}

// A line run before the input is no line of it: the first line read is line 1. An interactive
// session's errors leave its status at 0; a failed expect makes it 1.
TEST_F(SessionSignalsTest, LinesCountFromTheInputAndInteractiveErrorsKeepTheStatus) {
    DesktopConsole::Options options;
    options.errorsSetStatus = false;
    DesktopConsole console(out, options);
    EXPECT_FALSE(console.prepare("bogus"));
    EXPECT_EQ(console.runString("desktop laptop\nbogus\n"), DesktopConsole::exitOk);
    EXPECT_EQ(out.str(), "> bogus\nerror: unknown command: bogus\n> desktop laptop\n> bogus\n"
                         "error: line 2: unknown command: bogus\n");
    EXPECT_EQ(console.runString("expect screens 3\nbogus\n"), DesktopConsole::exitExpectFailed);
}

} // namespace
