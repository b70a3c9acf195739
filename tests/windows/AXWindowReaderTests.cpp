#include "windows/AXWindowReader.hpp"

#include "platform/desktop/NSRunningApplication.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "support/TableRow.hpp"
#include "windows/WindowAccessTest.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tilmora::WindowManager {
namespace {

using platform::AXNumberForm;
using platform::AXUIElement;
using platform::CGRect;
using platform::NSRunningApplication;
using platform::WindowSpec;

class AXWindowReaderTest : public WindowAccessTest {};

TEST_F(AXWindowReaderTest, NumberTitleAndFrameOfAWindow) {
    // The form in which Accessibility offers the window's number, and whether it reads back.
    const testsupport::TableRow<AXNumberForm, bool> cases[] = {
        {"window number", AXNumberForm::windowNumber, true},
        {"window id only", AXNumberForm::windowIDOnly, true},
        {"neither", AXNumberForm::none, false},
    };
    for (const auto& c : cases) {
        WindowSpec spec = window("Draft", {100, 250, 800, 600});
        spec.numberForm = c.given;
        const pid_t pid = runNotes({spec});
        const std::uint32_t number = numbersOf(pid).front();
        const AXUIElement element = windowElement(pid, number);
        EXPECT_EQ(axWindowNumber(element), c.expected ? std::optional<std::int64_t>(number) : std::nullopt)
            << c.name;
        // Accessibility position (100, 50) on a main display 900 high.
        EXPECT_EQ(axPosition(element), (platform::CGPoint{100, 50})) << c.name;
        EXPECT_EQ(readAXRect(element), CGRect(100, 250, 800, 600)) << c.name;
        EXPECT_EQ(readAXTitle(element), "Draft") << c.name;
        desk().quit(pid);
    }
}

TEST_F(AXWindowReaderTest, ReadsOfAGoneOrUntrustedWindowGiveNothing) {
    const pid_t pid = runNotes({window("Draft", {100, 250, 800, 600})});
    const AXUIElement element = windowElement(pid, numbersOf(pid).front());
    desk().setAccessibilityTrusted(false);
    EXPECT_EQ(readAXRect(element), std::nullopt);
    EXPECT_EQ(readAXTitle(element), std::nullopt);
    EXPECT_FALSE(isStandardMovableWindow(element));
    desk().setAccessibilityTrusted(true);
    desk().closeWindow(element.window);
    EXPECT_EQ(axWindowNumber(element), std::nullopt);
    EXPECT_EQ(readAXRect(element), std::nullopt);
}

TEST_F(AXWindowReaderTest, OnlyOrdinaryWindowsWithASettableFrameAreMovable) {
    // Whether the window is movable.
    const testsupport::WindowKindCase cases[] = {
        {"size settable only, no subrole", {"AXWindow", std::nullopt, false, true}, true},
        {"position settable only", {"AXWindow", "AXStandardWindow", true, false}, true},
        {"nothing settable", {"AXWindow", "AXStandardWindow", false, false}, false},
        {"system dialog", {"AXWindow", "AXSystemDialog", true, true}, false},
        {"other dialog", {"AXWindow", "AXDialog", true, true}, true},
        {"sheet", {"AXSheet", std::nullopt, true, true}, false},
    };
    for (const auto& c : cases) {
        const pid_t pid = runNotes({testsupport::windowSpec("W", {100, 100, 400, 300}, c.kind)});
        EXPECT_EQ(isStandardMovableWindow(windowElement(pid, numbersOf(pid).front())), c.counts) << c.name;
        desk().quit(pid);
    }
}

TEST_F(AXWindowReaderTest, RepeatedNumbersAreDroppedAndUnnumberedWindowsKept) {
    WindowSpec unnumbered = window("C", {0, 0, 300, 300});
    unnumbered.numberForm = AXNumberForm::none;
    const pid_t pid = runNotes({window("A", {0, 0, 300, 300}), window("B", {0, 0, 300, 300}), unnumbered});
    const AXUIElement a = titled(pid, "A");
    const AXUIElement b = titled(pid, "B");
    const AXUIElement c = titled(pid, "C");
    EXPECT_EQ(uniqueAXWindowsByNumber({a, b, a, c}), (std::vector<AXUIElement>{a, b, c}));
    EXPECT_EQ(uniqueAXWindowsByNumber({c, c}), (std::vector<AXUIElement>{c, c}));
}

TEST_F(AXWindowReaderTest, FetchPollsEveryTenthOfASecondUntilTheDeadline) {
    struct Case {
        const char* name;
        int minCount;
        double timeout;
        double returnsAt;
    };
    const Case cases[] = {
        {"six passes", 1, 0.6, 0.6},
        {"no time-out still sleeps once", 1, 0, 0.1},
        {"nothing needed", 0, 0, 0},
    };
    for (const auto& c : cases) {
        const pid_t pid = runNotes({});
        const double start = sim().now();
        EXPECT_TRUE(fetchAXWindows(NSRunningApplication(pid), c.minCount, c.timeout, std::nullopt).empty())
            << c.name;
        EXPECT_NEAR(sim().now() - start, c.returnsAt, 1e-9) << c.name;
        desk().quit(pid);
    }
}

TEST_F(AXWindowReaderTest, FetchReturnsAWindowThatOpensWhileItWaits) {
    const pid_t pid = runNotes({});
    sim().schedule(0.25, [&] { desk().openWindow(pid, window("Late", {100, 100, 500, 400})); });
    const auto windows = fetchAXWindows(NSRunningApplication(pid), 1, 0.6, std::nullopt);
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(readAXTitle(windows.front()), "Late");
    EXPECT_NEAR(sim().now(), 0.3, 1e-9);
}

TEST_F(AXWindowReaderTest, FetchKeepsTheLastNonEmptyPassWhenTooFewAppear) {
    const pid_t pid = runNotes({window("One", {100, 100, 500, 400})});
    const auto windows = fetchAXWindows(NSRunningApplication(pid), 2, 0.3, std::nullopt);
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_NEAR(sim().now(), 0.3, 1e-9);
}

TEST_F(AXWindowReaderTest, FetchFiltersFallsBackAndDeduplicatesOnlyTerminal) {
    struct Case {
        const char* name;
        std::optional<std::string> bundleID;
        bool listEmpty;
        std::size_t expected;
    };
    const Case cases[] = {
        {"Terminal", "com.apple.Terminal", false, 1},
        {"any other bundle", "com.example.notes", false, 2},
        {"no bundle", std::nullopt, false, 2},
        {"empty window list: the focused window", std::nullopt, true, 1},
    };
    for (const auto& c : cases) {
        platform::AppSpec app = notesApp();
        app.axWindowsEmpty = c.listEmpty;
        WindowSpec twice = window("Shell", {100, 100, 500, 400});
        twice.axListings = 2;
        WindowSpec dialog = window("Alert", {100, 100, 300, 200});
        dialog.subrole = "AXSystemDialog";
        const pid_t pid = runFrontmost(app, {dialog, twice});
        const auto windows = fetchAXWindows(NSRunningApplication(pid), 0, 0, c.bundleID);
        EXPECT_EQ(windows.size(), c.expected) << c.name;
        for (const auto& w : windows)
            EXPECT_EQ(readAXTitle(w), "Shell") << c.name;
        desk().quit(pid);
    }
}

TEST_F(AXWindowReaderTest, BestPickPrefersTheNumberThenTheRestThenNothing) {
    const pid_t pid = runNotes({window("Doc", {100, 100, 800, 600}), window("Doc", {100, 100, 800, 600})});
    const auto numbers = numbersOf(pid);
    const AXUIElement first = windowElement(pid, numbers[0]);
    const AXUIElement second = windowElement(pid, numbers[1]);
    const auto screen = platform::NSScreen::screens().front();
    const NSRunningApplication app(pid);
    AXWindowTracker tracker;
    const auto pick = [&] {
        return pickBestAXWindow(app, {first, second}, tracker, {100, 100, 800, 600}, screen, "  Doc\n",
                                std::int64_t(numbers[1]));
    };
    EXPECT_EQ(pick(), second);
    EXPECT_EQ(pick(), first);
    EXPECT_EQ(pick(), std::nullopt);
    EXPECT_EQ(tracker.usedElements.size(), 2u);
    EXPECT_EQ(tracker.usedWindowNumbers.size(), 2u);
}

TEST_F(AXWindowReaderTest, BestPickScoresTitleAndGeometry) {
    struct Case {
        const char* name;
        std::string expectedTitle;
        CGRect target;
        std::size_t winner;
    };
    // Window 0 "Inbox - Mail" at the left, window 1 "ÉCRAN" at the right; no number is sought.
    const Case cases[] = {
        {"equal title ignoring case beats geometry", "écran", {0, 100, 600, 500}, 1},
        {"contained title", "inbox", {800, 100, 600, 500}, 0},
        {"no title: nearer frame", "", {800, 100, 600, 500}, 1},
        {"blank title: nearer frame", " \n", {0, 100, 600, 500}, 0},
    };
    for (const auto& c : cases) {
        const pid_t pid =
            runNotes({window("ÉCRAN", {800, 100, 600, 500}), window("Inbox - Mail", {0, 100, 600, 500})});
        const std::vector<AXUIElement> windows = {titled(pid, "Inbox - Mail"), titled(pid, "ÉCRAN")};
        AXWindowTracker tracker;
        const auto picked =
            pickBestAXWindow(NSRunningApplication(pid), windows, tracker, c.target,
                             platform::NSScreen::screens().front(), c.expectedTitle, std::nullopt);
        EXPECT_EQ(picked, windows[c.winner]) << c.name;
        desk().quit(pid);
    }
}

TEST_F(AXWindowReaderTest, PlainPickFallsBackWhenNoWindowIsMovable) {
    WindowSpec fixed = window("Doc", {100, 100, 800, 600});
    fixed.positionSettable = false;
    fixed.sizeSettable = false;
    WindowSpec other = fixed;
    other.title = "Other";
    const pid_t pid = runNotes({fixed, other});
    const AXUIElement doc = titled(pid, "Doc");
    const AXUIElement otherElement = titled(pid, "Other");
    AXWindowTracker tracker;
    EXPECT_EQ(pickAXWindow({otherElement, doc}, tracker, "DOC"), doc);
    EXPECT_TRUE(tracker.usedElements.empty());
    // The best pick scores no unmovable window, so the title pick decides and is recorded.
    EXPECT_EQ(pickBestAXWindow(NSRunningApplication(pid), {otherElement, doc}, tracker, {0, 0, 10, 10},
                               platform::NSScreen::screens().front(), "doc", std::nullopt),
              doc);
    EXPECT_EQ(pickAXWindow({otherElement, doc}, tracker, "DOC"), otherElement);
}

} // namespace
} // namespace tilmora::WindowManager
