#include "windows/RestoreWindowMover.hpp"

#include "platform/desktop/NSAppleScript.hpp"
#include "platform/desktop/NSGeometry.hpp"
#include "support/TableRow.hpp"
#include "windows/WindowAccessTest.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace tilmora::WindowManager {
namespace {

using platform::CGRect;
using platform::JournalEntry;
using platform::WindowSpec;

const CGRect laptopVisible{0, 0, 1440, 875};

class RestoreWindowMoverTest : public WindowAccessTest {
protected:
    void SetUp() override {
        WindowAccessTest::SetUp();
        verbose();
    }

    static std::string logText() {
        std::ostringstream text;
        for (const auto& line : logLines())
            text << line << "\n";
        return text.str();
    }

    std::vector<std::string> scripts() {
        std::vector<std::string> sources;
        for (const auto& entry : desk().journal(JournalEntry::Kind::script))
            sources.push_back(entry.what);
        return sources;
    }
};

const std::string sizeFirst = "[ERROR] AX set order size→position failed (e1=-25204, e2=-25204)";
const std::string positionFirst = "[ERROR] AX set order position→size failed (e1=-25204, e2=-25204)";

TEST_F(RestoreWindowMoverTest, WritesInTheFirstOrderThatWorksThenVerifiesAndRaises) {
    struct Case {
        const char* name;
        WindowSpec spec;
        bool result;
        std::vector<std::string> calls;
        CGRect frame;
        std::vector<std::string> lines;
    };
    WindowSpec cooperative = window("W", {300, 300, 800, 600});
    WindowSpec readOnly = cooperative;
    readOnly.positionSettable = false;
    readOnly.sizeSettable = false;
    WindowSpec sizeFixed = cooperative;
    sizeFixed.sizeSettable = false;
    WindowSpec nudging = cooperative;
    nudging.nudge = 5;
    WindowSpec firstFails = cooperative;
    firstFails.failFirstWrites = 1;
    const Case cases[] = {
        {"cooperative",
         cooperative,
         true,
         {"AXMinimized 0", "AXFullScreen 0", "AXSize (800, 600)", "AXPosition (100, 200)", "AXRaise"},
         {100, 100, 800, 600},
         {}},
        {"read-only", readOnly, false, {}, {300, 300, 800, 600}, {}},
        {"size read-only",
         sizeFixed,
         true,
         {"AXMinimized 0", "AXFullScreen 0", "AXPosition (100, 200)", "AXRaise"},
         {100, 100, 800, 600},
         {}},
        {"nudging: one correction",
         nudging,
         true,
         {"AXMinimized 0", "AXFullScreen 0", "AXSize (800, 600)", "AXPosition (100, 200)",
          "AXPosition (100, 200)", "AXRaise"},
         {105, 95, 800, 600},
         {}},
        {"first write refused",
         firstFails,
         true,
         {"AXMinimized 0", "AXFullScreen 0", "AXSize (800, 600)", "AXPosition (100, 200)",
          "AXPosition (100, 200)", "AXSize (800, 600)", "AXRaise"},
         {100, 100, 800, 600},
         {"[ERROR] AX set order size→position failed (e1=-25204, e2=0)"}},
    };
    for (const auto& c : cases) {
        const pid_t pid = runNotes({c.spec});
        const auto number = numbersOf(pid).front();
        desk().clearJournal();
        const auto before = logLines().size();
        EXPECT_EQ(moveAXWindow(windowElement(pid, number), {100, 100, 800, 600}, laptopVisible, true),
                  c.result)
            << c.name;
        EXPECT_EQ(axCalls(), c.calls) << c.name;
        EXPECT_EQ(desk().windowState(number)->frame, c.frame) << c.name;
        const auto lines = logLines();
        EXPECT_EQ(std::vector<std::string>(lines.begin() + std::ptrdiff_t(before), lines.end()), c.lines)
            << c.name;
        desk().quit(pid);
    }
}

TEST_F(RestoreWindowMoverTest, SizeAndPositionArePausedFortyMilliseconds) {
    const pid_t pid = runNotes({window("W", {300, 300, 800, 600})});
    desk().clearJournal();
    ASSERT_TRUE(
        moveAXWindow(windowElement(pid, numbersOf(pid).front()), {100, 100, 800, 600}, laptopVisible, false));
    const auto writes = desk().journal(JournalEntry::Kind::axWrite);
    ASSERT_EQ(writes.size(), 4u);
    EXPECT_EQ(writes[2].what, "AXSize");
    EXPECT_EQ(writes[3].what, "AXPosition");
    EXPECT_NEAR(writes[3].time - writes[2].time, 0.04, 1e-9);
    EXPECT_TRUE(desk().journal(JournalEntry::Kind::axAction).empty());
}

TEST_F(RestoreWindowMoverTest, EveryRefusedWriteEndsInTheScriptFallback) {
    // How many writes the window refuses first, and the move's result.
    const testsupport::TableRow<int, bool> cases[] = {
        {"the script moves the window", 13, true},
        {"the script's writes fail too", 15, false},
    };
    for (const auto& c : cases) {
        WindowSpec stubborn = window("W", {300, 300, 800, 600});
        stubborn.failFirstWrites = c.given;
        const pid_t pid = runNotes({stubborn});
        desk().setFrontmost(pid);
        desk().clearJournal();
        const auto before = logLines().size();
        const double start = sim().now();
        EXPECT_EQ(
            moveAXWindow(windowElement(pid, numbersOf(pid).front()), {0, 0, 2000, 1200}, laptopVisible, true),
            c.expected)
            << c.name;
        EXPECT_NEAR(sim().now() - start, 0.40, 1e-9) << c.name;
        const auto lines = logLines();
        EXPECT_EQ(std::vector<std::string>(lines.begin() + std::ptrdiff_t(before), lines.end()),
                  (std::vector<std::string>{sizeFirst, positionFirst, sizeFirst, positionFirst, sizeFirst,
                                            positionFirst}))
            << c.name;
        // The fourth attempt is followed by the centred placement, then size and position again.
        const auto calls = axCalls();
        const std::vector<std::string> tail(calls.end() - 5, calls.end());
        EXPECT_EQ(tail, (std::vector<std::string>{"AXPosition (0, 25)", "AXSize (2000, 1200)",
                                                  "AXPosition (0, -300)", "AXPosition (0, -300)",
                                                  "AXSize (2000, 1200)"}))
            << c.name;
        const auto sources = scripts();
        ASSERT_EQ(sources.size(), 1u) << c.name;
        EXPECT_NE(sources[0].find("to {0, -300}"), std::string::npos) << c.name;
        EXPECT_NE(sources[0].find("to {2000, 1200}"), std::string::npos) << c.name;
        EXPECT_TRUE(desk().journal(JournalEntry::Kind::axAction).size() == 1)
            << c.name; // the zoom press only
        desk().quit(pid);
    }
}

TEST_F(RestoreWindowMoverTest, AScriptErrorIsLoggedAndFails) {
    const pid_t pid = runNotes({window("W", {300, 300, 800, 600})});
    desk().setFrontmost(pid);
    desk().queueScriptFailure(-1712, "AppleEvent timed out.");
    EXPECT_FALSE(appleScriptMoveFrontWindow({100, 100, 800, 600}));
    const platform::CFDictionary error{
        {platform::NSAppleScriptErrorNumber, platform::CFValue(std::int64_t{-1712})},
        {platform::NSAppleScriptErrorMessage, platform::CFValue("AppleEvent timed out.")},
        {platform::NSAppleScriptErrorBriefMessage, platform::CFValue("AppleEvent timed out.")}};
    EXPECT_NE(
        logText().find("[WARN] AppleScript move fallback error: " + platform::CFValue(error).description()),
        std::string::npos);
    EXPECT_EQ(desk().windowState(numbersOf(pid).front())->frame, CGRect(300, 300, 800, 600));
}

TEST_F(RestoreWindowMoverTest, TheScriptSendsTruncatedTopLeftNumbers) {
    struct Case {
        const char* name;
        CGRect target;
        std::optional<std::string> position;
        std::optional<std::string> size;
    };
    const Case cases[] = {
        {"whole numbers", {100, 100, 800, 600}, "{100, 200}", "{800, 600}"},
        {"fractions toward zero", {-10.7, 100.4, 800.9, 600.2}, "{-10, 199}", "{800, 600}"},
        {"not finite: nothing sent", {std::nan(""), 100, 800, 600}, std::nullopt, std::nullopt},
    };
    const pid_t pid = runNotes({window("W", {300, 300, 800, 600})});
    desk().setFrontmost(pid);
    for (const auto& c : cases) {
        desk().clearJournal();
        EXPECT_EQ(appleScriptMoveFrontWindow(c.target), c.position.has_value()) << c.name;
        const auto sources = scripts();
        if (!c.position) {
            EXPECT_TRUE(sources.empty()) << c.name;
            continue;
        }
        ASSERT_EQ(sources.size(), 1u) << c.name;
        EXPECT_NE(sources[0].find("to " + *c.position + "\n"), std::string::npos) << c.name << sources[0];
        EXPECT_NE(sources[0].find("to " + *c.size + "\n"), std::string::npos) << c.name << sources[0];
    }
}

TEST_F(RestoreWindowMoverTest, ANonFiniteTargetWritesNothing) {
    const pid_t pid = runNotes({window("W", {300, 300, 800, 600})});
    desk().clearJournal();
    EXPECT_FALSE(moveAXWindow(windowElement(pid, numbersOf(pid).front()),
                              {100, 100, std::numeric_limits<double>::infinity(), 600}, laptopVisible, true));
    EXPECT_TRUE(desk().journal().empty());
}

TEST_F(RestoreWindowMoverTest, ResetMovesWindowsByTitleIgnoringCase) {
    const pid_t pid = runNotes({window("NOTES", {500, 300, 400, 300}), window("Other", {50, 50, 300, 200})});
    const auto notes = titled(pid, "NOTES");
    const auto other = titled(pid, "Other");
    desk().clearJournal();
    resetWindows("com.example.notes", {{"Notes", {100, 100, 800, 600}}, {"Missing", {0, 0, 500, 500}}});
    EXPECT_EQ(desk().windowState(std::uint32_t(notes.window))->frame, CGRect(100, 100, 800, 600));
    EXPECT_EQ(desk().windowState(std::uint32_t(other.window))->frame, CGRect(50, 50, 300, 200));
    EXPECT_EQ(axCalls().back(), "AXRaise");
    EXPECT_EQ(logLines(),
              (std::vector<std::string>{
                  "[RESET] Resetting 2 window(s) for bundle com.example.notes",
                  "[RESET] Reset window ‘Notes’ on Built-in Retina Display to {{100, 100}, {800, 600}}"}));
}

TEST_F(RestoreWindowMoverTest, ResetNamesTheScreenThatHoldsMostOfTheTarget) {
    // The target frame and the screen named in the log.
    const testsupport::TableRow<CGRect, std::string> cases[] = {
        {"external", {1500, 100, 800, 600}, "DELL U2720Q"},
        {"mostly on the laptop", {1000, 100, 800, 600}, "Built-in Retina Display"},
        {"off every screen: the first", {-5000, -5000, 800, 600}, "Built-in Retina Display"},
    };
    desk().useLaptopWithExternal();
    for (const auto& c : cases) {
        const pid_t pid = runNotes({window("Notes", {100, 100, 400, 300})});
        const auto before = logLines().size();
        resetWindows("com.example.notes", {{"Notes", c.given}});
        const auto lines = logLines();
        ASSERT_EQ(lines.size(), before + 2) << c.name;
        EXPECT_EQ(lines.back(), "[RESET] Reset window ‘Notes’ on " + c.expected + " to " +
                                    platform::NSStringFromRect(c.given))
            << c.name;
        desk().quit(pid);
    }
}

TEST_F(RestoreWindowMoverTest, ResetWithoutTrustAsksOnceAndReturnsAtOnce) {
    const pid_t pid = runNotes({window("Notes", {500, 300, 400, 300})});
    desk().setAccessibilityTrusted(false);
    resetWindows("com.example.notes", {{"Notes", {100, 100, 800, 600}}});
    EXPECT_EQ(desk().accessibilityPrompts(), 1);
    EXPECT_EQ(sim().now(), 0);
    EXPECT_EQ(desk().windowsOf(pid).front().frame, CGRect(500, 300, 400, 300));
    EXPECT_TRUE(logLines().empty());
    // Nothing to reset asks nothing.
    resetWindows("com.example.notes", {});
    EXPECT_EQ(desk().accessibilityPrompts(), 1);
}

TEST_F(RestoreWindowMoverTest, ResetOfAnApplicationThatIsNotRunningDoesNothing) {
    resetWindows("com.example.notes", {{"Notes", {100, 100, 800, 600}}});
    EXPECT_TRUE(logLines().empty());
    EXPECT_EQ(sim().now(), 0);
}

TEST_F(RestoreWindowMoverTest, ResetWaitsForAnApplicationWithoutWindows) {
    runNotes({});
    resetWindows("com.example.notes", {{"Notes", {100, 100, 800, 600}}});
    EXPECT_NEAR(sim().now(), 0.6, 1e-9);
    EXPECT_EQ(logLines(),
              (std::vector<std::string>{"[RESET] Resetting 1 window(s) for bundle com.example.notes"}));
}

} // namespace
} // namespace tilmora::WindowManager
