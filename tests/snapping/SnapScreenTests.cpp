#include "platform/control/SimDesktop.hpp"

#include "model/Settings.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "snapping/RoriDeru.hpp"
#include "support/DesktopTest.hpp"

#include <gtest/gtest.h>

namespace tilmora {
namespace {

using platform::NSScreen;
using platform::SimDesktop;
using platform::UserDefaults;

/// Every shared instance, the desktop too, is reset around each test: the desktop starts empty.
class SnapScreenTest : public ::DesktopTest {};

TEST_F(SnapScreenTest, StageManagerReserveOnlyOnThePrimaryScreen) {
    SimDesktop::shared().useLaptopWithExternal();
    auto& defaults = UserDefaults::standard();
    defaults.set(true, settings::integrateStageManager.key);
    defaults.set(true, settings::mockStageManagerActive.key);
    defaults.set(200.0, settings::stageReserveLeftWidth.key);
    const auto screens = NSScreen::screens();
    ASSERT_EQ(screens.size(), 2u);
    auto& grid = RoriDeru::shared();
    EXPECT_EQ(grid.adjustedVisibleFrame(screens[0]), (Rect{200, 0, 1240, 875}));
    EXPECT_EQ(grid.adjustedVisibleFrame(screens[1]), (Rect{1440, 0, 1920, 1055}));
    // A stored Boolean true is a reserve of 1 point.
    defaults.set(true, settings::stageReserveLeftWidth.key);
    EXPECT_EQ(grid.adjustedVisibleFrame(screens[0]), (Rect{1, 0, 1439, 875}));
    defaults.set(false, settings::mockStageManagerActive.key);
    EXPECT_EQ(grid.adjustedVisibleFrame(screens[0]), (Rect{0, 0, 1440, 875}));
}

TEST_F(SnapScreenTest, PresetsAndTilesOfAScreen) {
    SimDesktop::shared().useLaptopWithExternal();
    const auto screens = NSScreen::screens();
    ASSERT_EQ(screens.size(), 2u);
    auto& grid = RoriDeru::shared();
    grid.savePreset(RoriDeru::Preset(1, 3, 10, 2), screens[1]);
    EXPECT_EQ(UserDefaults::standard().stringForKey("WMPreset_2"), "1,3,10.0,2.0");
    EXPECT_EQ(grid.loadPreset(screens[1]), RoriDeru::Preset(1, 3, 10, 2));
    EXPECT_EQ(grid.loadPreset(screens[0]), GridPreset::fallback());

    // Tiles cover the visible frame (not the Stage Manager frame) at the screen's scale.
    const auto tiles = grid.tiles(screens[1], grid.loadPreset(screens[1]));
    ASSERT_EQ(tiles.size(), 3u);
    EXPECT_EQ(tiles[0], (Rect{1440, 0, 633, 1055}));
    EXPECT_EQ(tiles[2], (Rect{2726, 0, 634, 1055}));
}

TEST_F(SnapScreenTest, PresetOfAnUnnumberedScreenIsNeitherStoredNorRead) {
    platform::DisplaySpec spec;
    spec.name = "Panel";
    spec.frame = {0, 0, 1024, 768};
    spec.hasScreenNumber = false;
    SimDesktop::shared().addDisplay(spec);
    const auto screens = NSScreen::screens();
    ASSERT_EQ(screens.size(), 1u);
    RoriDeru::shared().savePreset(RoriDeru::Preset(3, 3, 0, 0), screens[0]);
    EXPECT_TRUE(UserDefaults::standard().dictionaryRepresentation().empty());
    EXPECT_EQ(RoriDeru::shared().loadPreset(screens[0]), GridPreset::fallback());
}

TEST_F(SnapScreenTest, ScreenForRectTakesTheLargestOverlap) {
    EXPECT_FALSE(RoriDeru::screenForRect({0, 0, 10, 10}));
    SimDesktop::shared().useLaptop();
    // A single screen is returned even when the rectangle lies elsewhere.
    EXPECT_EQ(RoriDeru::screenForRect({9000, 9000, 10, 10}), NSScreen::screens()[0]);

    SimDesktop::shared().useLaptopWithExternal();
    const auto screens = NSScreen::screens();
    EXPECT_EQ(RoriDeru::screenForRect({1200, 100, 800, 400}), screens[1]);
    EXPECT_EQ(RoriDeru::screenForRect({1200, 100, 400, 400}), screens[0]);
    EXPECT_EQ(RoriDeru::screenForRect({-5000, 100, 100, 100}), screens[0]);
}

} // namespace
} // namespace tilmora
