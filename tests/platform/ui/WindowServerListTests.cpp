#include "UiTestFixture.hpp"

#include "platform/control/SimDesktop.hpp"
#include "platform/desktop/WindowList.hpp"
#include "platform/ui/AnimationContext.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/Panel.hpp"
#include "platform/ui/StatusItem.hpp"
#include "support/DesktopBuilders.hpp"

#include <functional>

using namespace platform::ui;
using platform::CFDictionary;
using platform::SimDesktop;

namespace {

/// The program's windows in the window list, front to back, as (number, entry).
std::vector<std::pair<long, CFDictionary>> listed(platform::CGWindowListOption option) {
    std::vector<std::pair<long, CFDictionary>> out;
    auto list = platform::CGWindowListCopyWindowInfo(option, 0);
    if (!list) return out;
    for (const auto& v : *list) {
        const CFDictionary& d = *v.asDictionary();
        if (platform::lookup(d, platform::kCGWindowOwnerPID)->integerValue() ==
            SimDesktop::shared().programPid())
            out.emplace_back(long(*platform::lookup(d, platform::kCGWindowNumber)->integerValue()), d);
    }
    return out;
}

std::optional<CFDictionary> entryOf(const Window& w, platform::CGWindowListOption option) {
    for (auto& [n, d] : listed(option))
        if (n == w.windowNumber()) return d;
    return std::nullopt;
}

double number(const CFDictionary& d, const std::string& key) {
    return *platform::lookup(d, key)->doubleValue();
}

/// The entry's bounds: top-left coordinates (y down from the top of the main display).
Rect bounds(const CFDictionary& d) {
    const CFDictionary& b = *platform::lookup(d, platform::kCGWindowBounds)->asDictionary();
    return {number(b, "X"), number(b, "Y"), number(b, "Width"), number(b, "Height")};
}

} // namespace

class WindowServerListTest : public UiTest {
protected:
    std::shared_ptr<Panel> makePanel(Rect frame = {100, 600, 300, 200}) {
        return std::make_shared<Panel>(frame, StyleMask::borderless | StyleMask::nonactivatingPanel);
    }
};

TEST_F(WindowServerListTest, FloatingNonActivatingPanelIsListedAtItsLevelWithTheProgramsPid) {
    auto panel = makePanel();
    panel->setLevel(WindowLevel::floating);
    panel->orderFrontRegardless();

    auto e = entryOf(*panel, platform::kCGWindowListOptionOnScreenOnly);
    ASSERT_TRUE(e);
    EXPECT_EQ(platform::lookup(*e, platform::kCGWindowOwnerPID)->integerValue(),
              SimDesktop::shared().programPid());
    EXPECT_EQ(platform::lookup(*e, platform::kCGWindowLayer)->integerValue(), WindowLevel::floating);
    EXPECT_EQ(platform::lookup(*e, platform::kCGWindowNumber)->integerValue(), panel->windowNumber());
    // Global (100, 600) on a 900-point main display: its top edge is 100 points below the top.
    EXPECT_EQ(bounds(*e), (Rect{100, 100, 300, 200}));
    EXPECT_FALSE(Application::shared().isActive());
}

TEST_F(WindowServerListTest, RecordFollowsOrderingClosingAndFrameChanges) {
    struct Case {
        const char* name;
        std::function<void(Panel&)> steps;
        bool listed;   // in the list of every window
        bool onScreen; // in the on-screen list, flagged on screen
        Rect bounds;   // top-left coordinates
        long layer = WindowLevel::normal;
        double alpha = 1;
    };
    const Rect initial{100, 100, 300, 200};
    const std::vector<Case> cases = {
        {"never ordered in", [](Panel&) {}, false, false, {}},
        {"ordered front", [](Panel& p) { p.orderFront(); }, true, true, initial},
        {"ordered out", [](Panel& p) { p.orderFront(), p.orderOut(); }, true, false, initial},
        {"ordered out and in again", [](Panel& p) { p.orderFront(), p.orderOut(), p.orderFrontRegardless(); },
         true, true, initial},
        {"closed", [](Panel& p) { p.orderFront(), p.close(); }, false, false, {}},
        {"closed and shown again", [](Panel& p) { p.orderFront(), p.close(), p.makeKeyAndOrderFront(); },
         true, true, initial},
        {"moved while visible",
         [](Panel& p) {
             p.orderFront(), p.setFrame({0, 0, 400, 100}, true);
         },
         true,
         true,
         {0, 800, 400, 100}},
        {"moved while ordered out",
         [](Panel& p) {
             p.orderFront(), p.orderOut(), p.setFrameOrigin({50, 700});
         },
         true,
         false,
         {50, 0, 300, 200}},
        {"resized keeping the top",
         [](Panel& p) {
             p.orderFront(), p.setContentSize({300, 500});
         },
         true,
         true,
         {100, 100, 300, 500}},
        {"moved before being shown",
         [](Panel& p) {
             p.setFrameOrigin({0, 0}), p.orderFront();
         },
         true,
         true,
         {0, 700, 300, 200}},
        {"re-levelled", [](Panel& p) { p.orderFront(), p.setLevel(WindowLevel::statusBar); }, true, true,
         initial, WindowLevel::statusBar},
        {"faded by an animation",
         [this](Panel& p) {
             p.orderFront();
             AnimationContext::runAnimationGroup([&](AnimationContext& ctx) {
                 ctx.duration = 0.2;
                 p.animator().setAlphaValue(0.25);
             });
             advance(0.25);
         },
         true, true, initial, WindowLevel::normal, 0.25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto panel = makePanel({100, 600, 300, 200});
        c.steps(*panel);
        auto all = entryOf(*panel, platform::kCGWindowListOptionAll);
        auto onScreen = entryOf(*panel, platform::kCGWindowListOptionOnScreenOnly);
        ASSERT_EQ(all.has_value(), c.listed);
        EXPECT_EQ(onScreen.has_value(), c.onScreen);
        if (!all) continue;
        EXPECT_EQ(platform::lookup(*all, platform::kCGWindowIsOnscreen) != nullptr, c.onScreen);
        EXPECT_EQ(bounds(*all), c.bounds);
        EXPECT_EQ(platform::lookup(*all, platform::kCGWindowLayer)->integerValue(), c.layer);
        EXPECT_EQ(number(*all, platform::kCGWindowAlpha), c.alpha);
    }
}

TEST_F(WindowServerListTest, DestroyedWindowsLeaveTheListAndNumbersAreNotReused) {
    auto panel = makePanel();
    panel->orderFront();
    long first = panel->windowNumber();
    panel.reset();
    EXPECT_TRUE(listed(platform::kCGWindowListOptionAll).empty());
    auto next = makePanel();
    next->orderFront();
    EXPECT_NE(next->windowNumber(), first);
    // Numbers come from the window server's one sequence: an application's window gets another.
    pid_t pid = SimDesktop::shared().run(testsupport::appSpec("com.example.notes"),
                                         {testsupport::windowSpec("Note", {100, 100, 800, 600})});
    for (const auto& w : SimDesktop::shared().windowsOf(pid)) {
        EXPECT_NE(long(w.number), next->windowNumber());
        EXPECT_NE(long(w.number), first);
    }
}

TEST_F(WindowServerListTest, OrderingFrontRaisesWithinTheLevelAndHigherLevelsStayAbove) {
    auto back = makePanel();
    auto front = makePanel();
    auto bar = makePanel();
    bar->setLevel(WindowLevel::statusBar);
    bar->orderFront();
    back->orderFront();
    front->orderFront();
    auto order = [] {
        std::vector<long> out;
        for (auto& [n, d] : listed(platform::kCGWindowListOptionOnScreenOnly))
            out.push_back(n);
        return out;
    };
    EXPECT_EQ(order(), (std::vector<long>{bar->windowNumber(), front->windowNumber(), back->windowNumber()}));
    back->orderFrontRegardless();
    EXPECT_EQ(order(), (std::vector<long>{bar->windowNumber(), back->windowNumber(), front->windowNumber()}));
}

TEST_F(WindowServerListTest, PanelShownAfterASpaceSwitchJoinsTheActiveSpace) {
    auto& desk = SimDesktop::shared();
    desk.addSpace(1);
    auto panel = makePanel();
    panel->orderFront();
    panel->orderOut();
    desk.switchToDesktop(1, 2);
    panel->orderFront();
    EXPECT_TRUE(entryOf(*panel, platform::kCGWindowListOptionOnScreenOnly));
    EXPECT_EQ(desk.activeSpace(1), desk.spaces(1)[1]); // showing it did not switch the display back
}

TEST_F(WindowServerListTest, PanelOnATallerSecondDisplayHasANegativeTopLeftY) {
    SimDesktop::shared().useLaptopWithExternal();
    auto panel = makePanel({1500, 980, 200, 100}); // top edge at 1080, 180 above the main display's top
    panel->orderFront();
    auto e = entryOf(*panel, platform::kCGWindowListOptionOnScreenOnly);
    ASSERT_TRUE(e);
    EXPECT_EQ(bounds(*e), (Rect{1500, -180, 200, 100}));
}

TEST_F(WindowServerListTest, StatusItemsButtonWindowSitsInTheMenuBarLayer) {
    auto item = StatusBar::system().statusItem(-1);
    auto e = entryOf(*item->buttonWindow(), platform::kCGWindowListOptionOnScreenOnly);
    ASSERT_TRUE(e);
    EXPECT_EQ(platform::lookup(*e, platform::kCGWindowLayer)->integerValue(), WindowLevel::statusBar);
    EXPECT_EQ(bounds(*e).origin.y, 0); // along the top edge of the main display
}
