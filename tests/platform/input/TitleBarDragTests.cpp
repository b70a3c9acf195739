#include "platform/control/SimDesktop.hpp"
#include "platform/control/SimInput.hpp"
#include "platform/ui/Panel.hpp"
#include "support/DesktopTest.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform;

namespace {

/// The window server's part of the mouse: clicks and title-bar drags on other applications'
/// windows, driven only through the input simulator.
class TitleBarDragTest : public DesktopTest {
protected:
    SimInput& input() { return SimInput::shared(); }

    /// Notes' window "Back" (100, 100, 400, 300) behind Mail's "Front" (300, 150, 400, 300), Mail
    /// frontmost; Notes' full-screen "Full" at (800, 0, 300, 300); the program's panel "Panel" at
    /// (900, 500, 300, 200) on level 3, above Notes' "Under" at (850, 450, 400, 300).
    void buildScene() {
        panel.reset(); // before the desktop goes: its number would name a window of the next one
        SimDesktop::clear();
        desk().useLaptop();
        WindowSpec full = window("Full", {800, 0, 300, 300});
        full.fullScreen = true;
        notes = desk().run(
            notesApp(), {window("Under", {850, 450, 400, 300}), full, window("Back", {100, 100, 400, 300})});
        AppSpec mailApp;
        mailApp.bundleIdentifier = "com.example.mail";
        mailApp.localizedName = "Mail";
        mail = runFrontmost(mailApp, {window("Front", {300, 150, 400, 300})});
        panel = std::make_shared<ui::Panel>(CGRect{900, 500, 300, 200}, ui::StyleMask::nonactivatingPanel);
        panel->title = "Panel";
        panel->setLevel(3);
        panel->orderFrontRegardless();
    }

    std::uint32_t numberOf(const std::string& title) {
        for (const auto& w : desk().allWindows())
            if (w.title == title) return w.number;
        ADD_FAILURE() << "no window " << title;
        return 0;
    }

    CGRect frameOf(const std::string& title) { return desk().windowState(numberOf(title))->frame; }

    pid_t notes = 0;
    pid_t mail = 0;
    std::shared_ptr<ui::Panel> panel;
};

struct DragCase {
    std::string name;
    CGPoint from;
    CGPoint to;
    std::string window;        ///< the window whose frame is checked
    CGRect expectedFrame;      ///< its frame after the drag
    std::string frontmostName; ///< "notes", "mail" or "program": who is frontmost afterwards
};

TEST_F(TitleBarDragTest, DragsMoveWindowsOnlyByTheirTitleBars) {
    // Where "Back" stands when nothing moved it.
    const CGRect back{100, 100, 400, 300};
    const std::vector<DragCase> cases = {
        {"top row of the title bar", {150, 399}, {250, 299}, "Back", {200, 0, 400, 300}, "notes"},
        {"lowest row of the title bar", {150, 372}, {160, 382}, "Back", {110, 110, 400, 300}, "notes"},
        {"just below the title bar: content", {150, 371.5}, {450, 371.5}, "Back", back, "notes"},
        {"covered title bar: the front window's content takes the click",
         {400, 390},
         {500, 390},
         "Back",
         back,
         "mail"},
        {"front window's title bar", {400, 440}, {400, 540}, "Front", {300, 250, 400, 300}, "mail"},
        {"full-screen window does not move", {900, 290}, {1000, 290}, "Full", {800, 0, 300, 300}, "notes"},
        {"bare desktop: nothing moves or activates", {1300, 100}, {1300, 500}, "Back", back, "mail"},
        {"the program's panel covers the window below",
         {1000, 690},
         {1100, 690},
         "Under",
         {850, 450, 400, 300},
         "mail"},
        {"the program's panel itself stays", {1000, 690}, {1100, 690}, "Panel", {900, 500, 300, 200}, "mail"},
        {"part of the window outside the panel",
         {860, 740},
         {960, 740},
         "Under",
         {950, 450, 400, 300},
         "notes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        buildScene();
        input().drag(c.from, c.to, 0.2, 4);
        sim().runFor(0.5);
        EXPECT_EQ(frameOf(c.window), c.expectedFrame);
        const pid_t expected = c.frontmostName == "notes"  ? notes
                               : c.frontmostName == "mail" ? mail
                                                           : desk().programPid();
        EXPECT_EQ(desk().frontmost(), expected);
    }
}

TEST_F(TitleBarDragTest, ClickBringsTheClickedWindowAndItsApplicationToTheFront) {
    buildScene();
    desk().setFrontmost(notes); // raises all of Notes' windows over Mail's
    desk().setFrontmost(mail);
    ASSERT_EQ(desk().allWindows().front().title, "Front");
    input().moveMouse({150, 200});
    input().mouseDown();
    input().mouseUp();
    EXPECT_EQ(desk().frontmost(), notes);
    std::vector<std::string> order;
    for (const auto& w : desk().allWindows())
        if (w.pid != desk().programPid()) order.push_back(w.title);
    EXPECT_EQ(order.front(), "Back");
    EXPECT_EQ(desk().windowAt({150, 200})->title, "Back");
    // A second click on another window of the same application raises only that one.
    input().moveMouse({810, 10});
    input().mouseDown();
    input().mouseUp();
    EXPECT_EQ(desk().allWindows().front().title, "Full");
    EXPECT_EQ(desk().frontmost(), notes);
}

TEST_F(TitleBarDragTest, GlobalMonitorsSeeTheWindowAlreadyMovedByEachDraggedEvent) {
    buildScene();
    std::vector<double> seenX;
    auto monitor = NSEvent::addGlobalMonitorForEvents(EventTypeMask::leftMouseDragged, [&](const NSEvent& e) {
        EXPECT_DOUBLE_EQ(frameOf("Back").origin.x, 100 + e.locationInWindow.x - 150);
        seenX.push_back(frameOf("Back").origin.x);
    });
    input().drag({150, 390}, {550, 390}, 0.3, 4);
    sim().runFor(0.5);
    EXPECT_EQ(seenX, (std::vector<double>{200, 300, 400, 500}));
    NSEvent::removeMonitor(monitor);
}

TEST_F(TitleBarDragTest, ThePointerOfTheProgramTheMouseUpAndTheRightButtonMoveNothing) {
    // A pointer the routing hook gives to the program never moves or activates anything.
    buildScene();
    input().setPointerGoesToProgram([](CGPoint) { return true; });
    input().drag({150, 390}, {550, 390}, 0.2, 2);
    sim().runFor(0.5);
    EXPECT_EQ(frameOf("Back"), (CGRect{100, 100, 400, 300}));
    EXPECT_EQ(desk().frontmost(), mail);

    // The mouse-up ends the move, and the right button never drags a window.
    buildScene();
    input().setPointerGoesToProgram(nullptr);
    input().moveMouse({150, 390});
    input().mouseDown();
    input().moveMouse({160, 390});
    input().mouseUp();
    input().moveMouse({200, 390});
    input().mouseDown(1);
    input().moveMouse({300, 390});
    input().mouseUp(1);
    EXPECT_EQ(frameOf("Back"), (CGRect{110, 100, 400, 300}));
}

TEST_F(TitleBarDragTest, HostileWindowsLagBehindThePointerOrIgnoreTitleBarDrags) {
    struct Case {
        std::string name;
        bool moves;
        double lag;
        double frameXDuringDrag; ///< Back's x when the last dragged event has been handled
        double frameXAfter;      ///< and once every lagging move took effect
    };
    const std::vector<Case> cases = {
        {"follows the pointer", true, 0, 500, 500},
        {"lags 0.5 s behind", true, 0.5, 100, 500},
        {"ignores the drag", false, 0, 100, 100},
        {"ignores the drag even with a lag", false, 0.5, 100, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        buildScene();
        WindowSpec spec = window("Back", frameOf("Back"));
        spec.movesWithTitleBarDrag = c.moves;
        spec.titleBarDragLag = c.lag;
        desk().updateWindow(numberOf("Back"), spec);
        input().drag({150, 390}, {550, 390}, 0.3, 4);
        sim().runFor(0.31);
        EXPECT_DOUBLE_EQ(frameOf("Back").origin.x, c.frameXDuringDrag);
        sim().runFor(1.0);
        EXPECT_EQ(frameOf("Back"), (CGRect{c.frameXAfter, 100, 400, 300}));
    }
}

} // namespace
