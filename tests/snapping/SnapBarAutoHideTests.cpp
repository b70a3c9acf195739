#include "SnapBarFixture.hpp"

#include "model/Settings.hpp"

#include "platform/desktop/NSRunningApplication.hpp"

#include <algorithm>
#include <gtest/gtest.h>

namespace tilmora::testing {
namespace {

using platform::CGRect;

bool logged(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Screen 900 high, status bar 24, visible top 876, bar 808-852: M = 876.5.
TEST_F(SnapBarTest, PointerBesideTheBarHidesItOutsideItsBand) {
    struct Case {
        double y;
        bool hides;
    };
    for (const Case& c : {Case{848, true}, Case{847.9, false}, Case{772, false}, Case{771.9, true}, Case{880, true},
                          Case{800, false}}) {
        moveMouse(100, 800);
        showFixed();
        ASSERT_TRUE(bar->window()->isVisible());
        moveMouse(100, c.y);
        sim().runFor(0.5);
        EXPECT_EQ(bar->window()->isVisible(), !c.hides) << c.y;
        EXPECT_EQ(bar->autoHidden(), c.hides) << c.y;
        bar->hide();
        sim().runFor(0.5);
    }
}

TEST_F(SnapBarTest, AutoHiddenBarReturnsAfterTheDwellOnTheNextMovement) {
    moveMouse(100, 800);
    showFixed();
    moveMouse(100, 500); // hides
    sim().runFor(0.5);
    ASSERT_TRUE(bar->autoHidden());

    moveMouse(100, 790); // enters the reveal zone (784-876)
    sim().runFor(0.2);
    moveMouse(100, 791);
    EXPECT_FALSE(bar->window()->isVisible()); // 0.2 s: too early
    sim().runFor(1.0);
    EXPECT_FALSE(bar->window()->isVisible()); // no movement, no reveal
    moveMouse(100, 792);
    sim().runFor(0.5);
    EXPECT_TRUE(bar->window()->isVisible());
    EXPECT_FALSE(bar->autoHidden());
    EXPECT_EQ(bar->window()->frame(), (CGRect{320, 808, 800, 44}));

    // Below the zone the dwell starts over.
    moveMouse(100, 500);
    sim().runFor(0.5);
    moveMouse(100, 790);
    sim().runFor(0.2);
    moveMouse(100, 783); // just below the zone
    sim().runFor(0.1);
    moveMouse(100, 790);
    EXPECT_FALSE(bar->window()->isVisible());
}

TEST_F(SnapBarTest, MovementRightAfterAPointerActionIsIgnored) {
    moveMouse(100, 800);
    showFixed();
    moveMouse(100, 500); // hides at t
    sim().runFor(0.05);
    moveMouse(100, 790); // t + 0.05: ignored, so the dwell does not start here
    sim().runFor(0.25);
    moveMouse(100, 791); // starts the dwell
    sim().runFor(0.2);
    EXPECT_FALSE(bar->window()->isVisible());
    EXPECT_TRUE(bar->autoHidden());
}

TEST_F(SnapBarTest, BarFollowsThePointerToAnotherScreen) {
    addDisplay(2, {1440, 0, 1440, 900});
    moveMouse(100, 800);
    showFixed();
    moveMouse(2160, 800); // top of display 2: moved at once
    EXPECT_EQ(bar->window()->frame().minX(), 1440 + 320);
    sim().runFor(0.5);
    EXPECT_EQ(bar->window()->frame(), (CGRect{1760, 808, 800, 44}));
    EXPECT_FALSE(bar->autoHidden());

    const auto before = bar->window()->frame();
    moveMouse(5000, 800); // on no screen
    sim().runFor(0.5);
    EXPECT_EQ(bar->window()->frame(), before);
    EXPECT_TRUE(bar->window()->isVisible());

    moveMouse(2000, 300); // hides on display 2
    sim().runFor(0.5);
    ASSERT_TRUE(bar->autoHidden());
    moveMouse(500, 800); // reveal zone of display 1
    sim().runFor(0.3);
    moveMouse(501, 800);
    sim().runFor(0.5);
    EXPECT_TRUE(bar->window()->isVisible());
    EXPECT_EQ(bar->window()->frame(), (CGRect{320, 808, 800, 44}));
}

TEST_F(SnapBarTest, AppSwitchAndOutsideClickHideTheBar) {
    // The program's bundle is the running application's own.
    platform::BundleControl::setBundleIdentifier(platform::NSRunningApplication::current().bundleIdentifier());
    const pid_t notes = desk().run(notesApp(), {});
    moveMouse(100, 800);
    showFixed();
    newLines();
    platform::NSRunningApplication::current().activate(0);
    sim().runFor(0.5);
    EXPECT_TRUE(bar->window()->isVisible());
    platform::NSRunningApplication::runningApplication(notes)->activate(0);
    sim().runFor(0.5);
    EXPECT_TRUE(logged(newLines(), "[SnapBar] Hide on app switch to com.example.notes"));
    EXPECT_FALSE(bar->window()->isVisible());
    EXPECT_TRUE(bar->autoHidden());

    showFixed();
    moveMouse(500, 830); // over the panel: neither the move nor the click reaches the monitors
    platform::SimInput::shared().mouseDown(0);
    platform::SimInput::shared().mouseUp(0);
    sim().runFor(0.5);
    EXPECT_TRUE(bar->window()->isVisible());

    moveMouse(100, 800);
    sim().runFor(0.5);
    newLines();
    platform::SimInput::shared().mouseDown(0);
    platform::SimInput::shared().mouseUp(0);
    sim().runFor(0.5);
    EXPECT_TRUE(logged(newLines(), "[SnapBar] Hide on outside click"));
    EXPECT_FALSE(bar->window()->isVisible());
    EXPECT_TRUE(bar->autoHidden());
}

TEST_F(SnapBarTest, IntegrationTogglesAndMissionControl) {
    auto& defaults = platform::UserDefaults::standard();
    moveMouse(100, 800);
    showFixed();
    int posts = 0;
    const void* postedObject = &posts;
    auto token = platform::NotificationCenter::defaultCenter().addObserver(
        "StageIntegrationStateDidChange", nullptr, [&](const platform::Notification& n) {
            ++posts;
            postedObject = n.object;
        });
    ASSERT_TRUE(platform::ui::UISimulator::click(*bar->mcToggleButton()));
    EXPECT_TRUE(defaults.boolForKey(settings::integrateMissionControl.key));
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(postedObject, nullptr);
    const auto& mc = *bar->mcToggleButton();
    EXPECT_EQ(mc.layer()->backgroundColor, platform::ui::Color::systemGreen().withAlphaComponent(0.65));
    EXPECT_EQ(mc.attributedTitleColor, platform::ui::Color::whiteColor());
    EXPECT_EQ(mc.attributedTitleFont, platform::ui::Font::boldSystemFont(11));
    ASSERT_TRUE(platform::ui::UISimulator::click(*bar->mcToggleButton()));
    EXPECT_FALSE(defaults.boolForKey(settings::integrateMissionControl.key));
    EXPECT_FALSE(mc.layer()->backgroundColor.has_value());
    platform::NotificationCenter::defaultCenter().removeObserver(token);

    // Mission Control active with both keys on: a fresh controller shows nothing.
    defaults.set(true, settings::mockMissionControlActive.key);
    defaults.set(true, settings::integrateMissionControl.key);
    defaults.set(true, settings::autoHideSnapBarWithMissionControl.key);
    auto refused = std::make_shared<SnapBarController>(*grid);
    refused->show(screenAt(0), target);
    EXPECT_EQ(refused->window(), nullptr);
    EXPECT_FALSE(refused->hasMouseMonitor());
    EXPECT_FALSE(refused->hasClickMonitor());
    EXPECT_FALSE(refused->hasAppSwitchObserver());
    EXPECT_TRUE(refused->autoHidden());
    defaults.set(false, settings::autoHideSnapBarWithMissionControl.key);
    refused->show(screenAt(0), target);
    ASSERT_NE(refused->window(), nullptr);
    EXPECT_TRUE(refused->window()->isVisible());
}

} // namespace
} // namespace tilmora::testing

namespace tilmora::testing {
namespace {

// With Stage Manager active and both SM keys on, any movement slides the bar out; with the bar
// switched off in the settings the pointer never brings it back.
TEST_F(SnapBarTest, StageManagerAndTheVisibleSettingGateThePointer) {
    auto& defaults = platform::UserDefaults::standard();
    moveMouse(100, 800);
    showFixed();
    defaults.set(true, settings::mockStageManagerActive.key);
    defaults.set(true, settings::integrateStageManager.key);
    defaults.set(true, settings::autoHideSnapBarWithStageManager.key);
    moveMouse(101, 800); // inside the band, but the integration rule wins
    sim().runFor(0.5);
    EXPECT_FALSE(bar->window()->isVisible());
    EXPECT_TRUE(bar->autoHidden());
    EXPECT_TRUE(bar->hasMouseMonitor()); // an automatic hide keeps watching the pointer

    // The pointer lingers in the reveal zone, at `y` and a point above.
    const auto linger = [&](double y) {
        moveMouse(100, y);
        sim().runFor(0.5);
        moveMouse(100, y + 1);
        sim().runFor(0.5);
    };
    defaults.set(false, settings::mockStageManagerActive.key);
    defaults.set(false, settings::snapBarVisible.key);
    linger(790);
    EXPECT_FALSE(bar->window()->isVisible());
    defaults.set(true, settings::snapBarVisible.key);
    linger(792);
    EXPECT_TRUE(bar->window()->isVisible());
}

} // namespace
} // namespace tilmora::testing
