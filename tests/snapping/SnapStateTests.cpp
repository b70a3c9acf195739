#include "SnapStateFixture.hpp"

#include "model/Settings.hpp"
#include "platform/control/SimDesktop.hpp"

#include <gtest/gtest.h>

namespace tilmora::testing {
namespace {

using platform::PropertyDictionary;
using platform::UserDefaults;

class SnapSwitchesTest : public SnapStateTest {};

TEST_F(SnapSwitchesTest, SharedInstanceReadsTheDragSwitchesAsStoredBooleans) {
    struct Switches {
        bool snapping, magnet, assumeTile, liveResize, requireOption, allDisplays;
    };
    // What the grid reads when nothing usable is stored.
    const Switches fallback{true, false, true, true, false, false};
    struct Case {
        const char* name;
        bool registerShell;
        PropertyDictionary stored;
        Switches expected;
    };
    const Case cases[] = {
        {"nothing stored", false, {}, fallback},
        {"the shell's registrations", true, {}, {true, false, true, false, false, false}},
        {"the text no leaves snapping on", false, {{settings::snappingEnabled.key, "no"}}, fallback},
        {"a number leaves snapping on", false, {{settings::snappingEnabled.key, 0}}, fallback},
        {"stored Booleans",
         false,
         {{settings::snappingEnabled.key, false},
          {settings::magnetDragMode.key, true},
          {settings::dragAssumeTileSize.key, false},
          {settings::liveResizeDuringDrag.key, false},
          {settings::dragRequireOption.key, true},
          {settings::gridAllDisplays.key, true}},
         {false, true, false, false, true, true}},
        {"the text YES counts as absent",
         false,
         {{settings::magnetDragMode.key, "YES"},
          {settings::gridAllDisplays.key, "YES"},
          {settings::dragRequireOption.key, 1}},
         fallback},
        {"a stored value hides the registered one",
         true,
         {{settings::liveResizeDuringDrag.key, true}},
         fallback},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetSharedInstances();
        auto& defaults = UserDefaults::standard();
        for (const auto& [key, value] : defaults.dictionaryRepresentation())
            defaults.removeObjectForKey(key);
        if (c.registerShell) registerShellDefaults();
        for (const auto& [key, value] : c.stored)
            defaults.set(value, key);
        auto& grid = RoriDeru::shared();
        EXPECT_EQ(grid.isSnappingEnabled(), c.expected.snapping);
        EXPECT_EQ(SnapGridParts::switches(grid).snappingEnabled, c.expected.snapping);
        EXPECT_EQ(SnapGridParts::switches(grid).magnetMode, c.expected.magnet);
        EXPECT_EQ(SnapGridParts::switches(grid).dragAssumeTileSize, c.expected.assumeTile);
        EXPECT_EQ(SnapGridParts::switches(grid).liveResizeDuringDrag, c.expected.liveResize);
        EXPECT_EQ(SnapGridParts::switches(grid).dragRequireOption, c.expected.requireOption);
        EXPECT_EQ(SnapGridParts::rectSelection(grid).state().cachedScopeAllDisplays, c.expected.allDisplays);
    }
}

TEST_F(SnapSwitchesTest, SettersChangeOnlyTheirFieldAndWriteNoDefaults) {
    auto& grid = RoriDeru::shared();
    const auto before = UserDefaults::standard().dictionaryRepresentation();
    grid.setSnappingEnabled(false);
    grid.setMagnetMode(true);
    grid.setDragRequireOption(true);
    grid.setLiveResizeDuringDrag(false);
    grid.setDragAssumeTileSize(false);
    EXPECT_FALSE(grid.isSnappingEnabled());
    EXPECT_TRUE(SnapGridParts::switches(grid).magnetMode);
    EXPECT_TRUE(SnapGridParts::switches(grid).dragRequireOption);
    EXPECT_FALSE(SnapGridParts::switches(grid).liveResizeDuringDrag);
    EXPECT_FALSE(SnapGridParts::switches(grid).dragAssumeTileSize);
    EXPECT_EQ(UserDefaults::standard().dictionaryRepresentation(), before);
    // A fresh instance reads the untouched settings again.
    resetSharedInstances();
    EXPECT_TRUE(RoriDeru::shared().isSnappingEnabled());
    EXPECT_FALSE(SnapGridParts::switches(RoriDeru::shared()).magnetMode);
}

TEST_F(SnapSwitchesTest, MenuSuppressionIsConsumedOnce) {
    auto& grid = RoriDeru::shared();
    EXPECT_FALSE(grid.consumeSuppressMenuSelection());
    grid.suppressMenuSelectionOnce();
    grid.suppressMenuSelectionOnce();
    EXPECT_TRUE(grid.consumeSuppressMenuSelection());
    EXPECT_FALSE(grid.consumeSuppressMenuSelection());
}

TEST_F(SnapSwitchesTest, AccessibilityRequestPromptsOnlyWhenUntrusted) {
    auto& grid = RoriDeru::shared();
    EXPECT_TRUE(grid.requestAccessibilityIfNeeded());
    EXPECT_EQ(desk().accessibilityPrompts(), 0);
    desk().setAccessibilityTrusted(false);
    EXPECT_FALSE(grid.requestAccessibilityIfNeeded());
    EXPECT_EQ(desk().accessibilityPrompts(), 1);
}

TEST_F(SnapSwitchesTest, GridLinesFollowTheMenuMarkNotTheArgument) {
    RecordingGrid grid;
    const auto laptop = grid.addOverlay(1);
    const auto external = grid.addOverlay(2);
    laptop->opacity = 1;
    grid.setShowGridLinesDuringDrag(true);
    EXPECT_EQ(laptop->gridOpacity(), 0);
    EXPECT_EQ(external->gridOpacity(), 0);
    grid.setMarkGridPresetInMenu(true, screen(1));
    ASSERT_TRUE(grid.shouldMarkGridPresetInMenu());
    grid.setShowGridLinesDuringDrag(false);
    EXPECT_EQ(laptop->gridOpacity(), 1);
    EXPECT_EQ(external->gridOpacity(), 1);
    EXPECT_FALSE(UserDefaults::standard().objectForKey(settings::showGridLinesDuringDrag.key));
}

} // namespace
} // namespace tilmora::testing
