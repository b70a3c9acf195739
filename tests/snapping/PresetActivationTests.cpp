#include "SnapStateFixture.hpp"

#include "model/Settings.hpp"

#include <gtest/gtest.h>

namespace tilmora::testing {
namespace {

using platform::UserDefaults;
using RoriPreset = RoriDeru::Preset;

class PresetActivationTest : public SnapStateTest {};

TEST_F(PresetActivationTest, ActivationIsNeededBeforeAPresetApplies) {
    RecordingGrid grid;
    newLines();
    grid.applyPreset(RoriPreset(2, 3, 8, 0), screen(1), false, false);
    EXPECT_EQ(newLines(),
              std::vector<std::string>{
                  "[RoriDeru] Skip preset apply on Built-in Retina Display — snapping not activated"});
    EXPECT_FALSE(UserDefaults::standard().objectForKey("WMPreset_1"));
    EXPECT_TRUE(SnapGridParts::overlayLifecycle(grid).activePresets().empty());
    EXPECT_TRUE(grid.calls.empty());

    grid.activateSnap(screen(1));
    EXPECT_EQ(SnapGridParts::presetActivation(grid).enabledSnapDisplayKeys(),
              std::set<std::string>{"1-2880x1800"});
    EXPECT_EQ(newLines(), std::vector<std::string>{
                              "[RoriDeru] Activated snapping on Built-in Retina Display [key=1-2880x1800]"});
    grid.applyPreset(RoriPreset(2, 3, 8, 0), screen(1), false, false);
    EXPECT_EQ(UserDefaults::standard().stringForKey("WMPreset_1"), "2,3,8.0,0.0");
    EXPECT_EQ(grid.calls, std::vector<std::string>{"showOverlay 1 2x3 force=false markActive=true"});

    // The external display keeps its own key: activating the laptop did not activate it.
    grid.applyPreset(RoriPreset(1, 2, 0, 0), screen(2), false, false);
    EXPECT_FALSE(UserDefaults::standard().objectForKey("WMPreset_2"));
    grid.activateSnap(screen(2));
    EXPECT_EQ(SnapGridParts::presetActivation(grid).enabledSnapDisplayKeys(),
              (std::set<std::string>{"1-2880x1800", "2-1920x1080"}));

    // Verbose logging off: the same calls print nothing.
    UserDefaults::standard().set(false, settings::verboseLogging.key);
    newLines();
    RecordingGrid quiet;
    quiet.applyPreset(RoriPreset(2, 2, 0, 0), screen(1), false, false);
    quiet.activateSnap(screen(1));
    EXPECT_TRUE(newLines().empty());
}

TEST_F(PresetActivationTest, ANewOverlayIsHiddenAgainButNotUnderARunningDrag) {
    const std::string show = "showOverlay 1 2x3 force=true markActive=true";
    const std::string hide = "hideOverlay 1 clearPreset=false";
    struct Case {
        const char* name;
        bool overlay;
        bool draggingAtCall;
        bool dragStartsLater;
        /// The drag made the overlays it shows, so its release removes them.
        bool dragOwnsOverlays;
        std::vector<std::string> afterFlash;
        std::vector<std::string> afterRelease;
    };
    const Case cases[] = {
        {"no overlay", false, false, false, false, {show, hide}, {show, hide}},
        {"a drag starts after the call: hidden when it ends", false, false, true, false, {show}, {show, hide}},
        {"a drag that removes its overlays at its end", false, false, true, true, {show}, {show}},
        {"a drag runs at the call", false, true, false, false, {show}, {show}},
        {"an overlay exists", true, false, false, false, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetSharedInstances();
        RecordingGrid grid;
        const auto overlay = c.overlay ? grid.addOverlay(1) : nullptr;
        editSession(grid, [&](auto& state) { state.isDragging = c.draggingAtCall; });
        grid.applyPreset(RoriPreset(2, 3, 8, 0), screen(1), false, true);
        if (c.dragStartsLater) editSession(grid, [&](auto& state) {
            state.isDragging = true;
            state.createdOverlaysForDragSession = c.dragOwnsOverlays;
        });
        EXPECT_EQ(UserDefaults::standard().stringForKey("WMPreset_1"), "2,3,8.0,0.0");
        EXPECT_EQ(SnapGridParts::overlayLifecycle(grid).activePresets(),
                  (std::map<std::uint32_t, RoriPreset>{{1, RoriPreset(2, 3, 8, 0)}}));
        EXPECT_TRUE(SnapGridParts::presetActivation(grid).enabledSnapDisplayKeys().count("1-2880x1800"));
        sim().runFor(1.29);
        EXPECT_EQ(grid.calls.size(), c.afterFlash.empty() ? 0u : 1u);
        sim().runFor(0.02);
        EXPECT_EQ(grid.calls, c.afterFlash);
        // A drag still running keeps the overlay it works over.
        if (c.dragStartsLater) {
            EXPECT_TRUE(SnapGridParts::overlayLifecycle(grid).hasOverlay(1));
        }
        grid.handleMouseUp();
        sim().runFor(2);
        EXPECT_EQ(grid.calls, c.afterRelease);
        // The flash keeps the applied preset.
        EXPECT_EQ(SnapGridParts::overlayLifecycle(grid).activePresets().count(1), 1u);
        if (overlay) {
            EXPECT_EQ(overlay->calls, (std::vector<std::string>{"setFrame {{0, 0}, {1440, 900}} display",
                                                                "updateForScreen Built-in Retina Display",
                                                                "setGrid 2x3 gutter 8", "setNeedsLayout"}));
            EXPECT_EQ(overlay->gridOpacity(), 0);
        }
    }
}

TEST_F(PresetActivationTest, FlashShowsTheGridAndRowsColsAndGutterAreClamped) {
    RecordingGrid grid;
    const auto overlay = grid.addOverlay(2);
    grid.activateSnap(screen(2));
    RoriPreset odd;
    odd.rows = 0;
    odd.cols = -4;
    odd.gutter = -3;
    grid.applyPreset(odd, screen(2), true, false);
    EXPECT_EQ(overlay->calls[2], "setGrid 1x1 gutter 0");
    EXPECT_EQ(overlay->gridOpacity(), 1);
}

TEST_F(PresetActivationTest, TheFlashHideDoesNothingOnceTheGridIsGone) {
    auto grid = std::make_unique<RecordingGrid>();
    grid->applyPreset(RoriPreset(2, 2, 0, 0), screen(1), false, true);
    grid.reset();
    sim().runFor(2);
    SUCCEED();
}

TEST_F(PresetActivationTest, ScopePreferenceRetiresOverlaysOffTheTargets) {
    RecordingGrid grid;
    const RoriPreset p(2, 3, 8, 0);
    grid.activateSnap(screen(1));
    for (const auto& [display, preset] : std::map<std::uint32_t, RoriPreset>{{1, p}, {2, RoriPreset(1, 2, 0, 0)}, {9, RoriPreset(3, 3, 0, 0)}})
        SnapGridParts::overlayLifecycle(grid).setActivePreset(display, preset);
    const auto external = grid.addOverlay(2);
    const auto gone = grid.addOverlay(9);
    grid.applyLayoutScopePreference(screen(1));
    EXPECT_EQ(grid.calls, (std::vector<std::string>{"hideOverlay 2 clearPreset=true",
                                                    "showOverlay 1 2x3 force=false markActive=true"}));
    // Only the targeted display keeps an overlay: the one the preset is shown on again.
    ASSERT_EQ(SnapGridParts::overlayLifecycle(grid).overlays().size(), 1u);
    EXPECT_TRUE(SnapGridParts::overlayLifecycle(grid).overlays().count(1));
    EXPECT_EQ(gone->calls, (std::vector<std::string>{"hideHighlight", "clearDebug", "orderOut"}));
    EXPECT_EQ(external->calls, (std::vector<std::string>{"hideHighlight", "clearDebug", "orderOut"}));
    EXPECT_EQ(SnapGridParts::overlayLifecycle(grid).activePresets(),
              (std::map<std::uint32_t, RoriPreset>{{1, p}}));
    EXPECT_EQ(UserDefaults::standard().stringForKey("WMPreset_1"), "2,3,8.0,0.0");

    // Nothing marked and no active preset: no preset is applied again.
    RecordingGrid idle;
    idle.activateSnap(screen(1));
    idle.applyLayoutScopePreference(screen(1));
    EXPECT_TRUE(idle.calls.empty());
}

TEST_F(PresetActivationTest, MarkingTakesTheActivePresetElseTheStoredOne) {
    RecordingGrid grid;
    UserDefaults::standard().set("3,3,4.0,0.0", "WMPreset_2");
    SnapGridParts::overlayLifecycle(grid).setActivePreset(1, RoriPreset(2, 3, 8, 0));
    grid.setMarkGridPresetInMenu(true, screen(1));
    grid.setMarkGridPresetInMenu(true, screen(2));
    EXPECT_TRUE(grid.shouldMarkGridPresetInMenu());
    EXPECT_EQ(SnapGridParts::presetMarking(grid).state().byDisplay,
              (std::map<std::uint32_t, RoriPreset>{{1, RoriPreset(2, 3, 8, 0)}, {2, RoriPreset(3, 3, 4, 0)}}));
    EXPECT_EQ(grid.markedGridPreset(), RoriPreset(2, 3, 8, 0));

    struct Case {
        const char* name;
        RoriPreset preset;
        std::uint32_t display;
        bool marked;
    };
    const Case cases[] = {
        {"the marked preset", RoriPreset(2, 3, 8, 0), 1, true},
        {"only the padding differs", RoriPreset(2, 3, 8, 1), 1, false},
        {"only the gutter differs", RoriPreset(2, 3, 4, 0), 1, false},
        {"another display's preset", RoriPreset(3, 3, 4, 0), 1, false},
        {"the other display", RoriPreset(3, 3, 4, 0), 2, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(grid.shouldMarkGridPreset(c.preset, screen(c.display)), c.marked) << c.name;
    EXPECT_FALSE(grid.shouldMarkGridPreset(RoriPreset(2, 3, 8, 0), std::nullopt));

    // Off for one display: the other stays marked.
    grid.addOverlay(1);
    grid.setMarkGridPresetInMenu(false, screen(1));
    EXPECT_EQ(grid.calls, std::vector<std::string>{"hideOverlay 1 clearPreset=true"});
    EXPECT_TRUE(grid.shouldMarkGridPresetInMenu());
    EXPECT_FALSE(SnapGridParts::overlayLifecycle(grid).activePresets().count(1));
    grid.setMarkGridPresetInMenu(false, screen(2));
    EXPECT_FALSE(grid.shouldMarkGridPresetInMenu());
    EXPECT_FALSE(grid.shouldMarkGridPreset(RoriPreset(3, 3, 4, 0), screen(2)));
}

TEST_F(PresetActivationTest, MarkingForAllDisplays) {
    UserDefaults::standard().set(true, settings::gridAllDisplays.key);
    RecordingGrid grid;
    grid.setMarkGridPresetInMenu(true, screen(2));
    EXPECT_EQ(SnapGridParts::presetMarking(grid).state().allDisplays, GridPreset::fallback());
    EXPECT_TRUE(grid.shouldMarkGridPreset(GridPreset::fallback(), screen(1)));
    EXPECT_TRUE(grid.shouldMarkGridPreset(GridPreset::fallback(), std::nullopt));
    EXPECT_EQ(grid.markedGridPreset(), GridPreset::fallback());

    SnapGridParts::overlayLifecycle(grid).setActivePreset(1, RoriPreset(4, 4, 0, 0));
    grid.addOverlay(1);
    grid.setMarkGridPresetInMenu(false, std::nullopt);
    EXPECT_EQ(grid.calls, std::vector<std::string>{"hideAll clearPresets=true"});
    EXPECT_FALSE(grid.shouldMarkGridPresetInMenu());
    EXPECT_FALSE(SnapGridParts::presetMarking(grid).state().allDisplays);
    EXPECT_TRUE(SnapGridParts::overlayLifecycle(grid).overlays().empty());
    EXPECT_TRUE(SnapGridParts::overlayLifecycle(grid).activePresets().empty());

    // On without any screen: the mark is cleared.
    desk().removeDisplay(2);
    desk().removeDisplay(1);
    sim().runFor(5);
    editMarking(grid, [&](auto& state) { state.allDisplays = RoriPreset(2, 2, 0, 0); });
    editMarking(grid, [&](auto& state) { state.inMenu = true; });
    grid.setMarkGridPresetInMenu(true, std::nullopt);
    EXPECT_FALSE(grid.shouldMarkGridPresetInMenu());
    EXPECT_FALSE(SnapGridParts::presetMarking(grid).state().allDisplays);
}

TEST_F(PresetActivationTest, ClearingTheMarkingKeepsTheRectSelection) {
    struct Case {
        const char* name;
        bool removeOverlays;
    };
    for (const Case c : {Case{"overlays stay", false}, Case{"overlays go", true}}) {
        SCOPED_TRACE(c.name);
        RecordingGrid grid;
        const auto laptop = grid.addOverlay(1);
        const auto external = grid.addOverlay(2);
        editMarking(grid, [&](auto& state) { state.inMenu = true; });
        editMarking(grid, [&](auto& state) { state.allDisplays = RoriPreset(2, 2, 0, 0); });
        editMarking(grid, [&](auto& state) { state.byDisplay[1] = RoriPreset(2, 2, 0, 0); });
        SnapGridParts::overlayLifecycle(grid).setActivePreset(1, RoriPreset(2, 2, 0, 0));
        SnapGridParts::overlayLifecycle(grid).setTransientPreset(2, RoriPreset(3, 3, 0, 0));
        SnapGridParts::overlayLifecycle(grid).setCustomEdges(1, {{0, 0.3, 1}, {0, 1}});
        editSelection(grid, [&](auto& state) { state.byDisplay[1] = SnapIconKind::leftHalf; });
        grid.clearGridPresetMarking(c.removeOverlays);
        EXPECT_FALSE(grid.shouldMarkGridPresetInMenu());
        EXPECT_FALSE(SnapGridParts::presetMarking(grid).state().allDisplays);
        EXPECT_TRUE(SnapGridParts::presetMarking(grid).state().byDisplay.empty());
        EXPECT_TRUE(SnapGridParts::overlayLifecycle(grid).activePresets().empty());
        EXPECT_TRUE(SnapGridParts::overlayLifecycle(grid).transientPresets().empty());
        EXPECT_TRUE(SnapGridParts::overlayLifecycle(grid).customPresetEdges().empty());
        EXPECT_EQ(SnapGridParts::rectSelection(grid).state().byDisplay.size(), 1u);
        EXPECT_EQ(SnapGridParts::overlayLifecycle(grid).overlays().size(), c.removeOverlays ? 0u : 2u);
        const std::vector<std::string> torn{"hideHighlight", "clearDebug", "orderOut"};
        EXPECT_EQ(laptop->calls, c.removeOverlays ? torn : std::vector<std::string>{});
        EXPECT_EQ(external->calls, c.removeOverlays ? torn : std::vector<std::string>{});
    }
    // Clearing the whole preset selection also clears the rect selection.
    RecordingGrid grid;
    editSelection(grid, [&](auto& state) { state.byDisplay[1] = SnapIconKind::leftHalf; });
    SnapGridParts::overlayLifecycle(grid).setActivePreset(1, RoriPreset(2, 2, 0, 0));
    grid.clearPresetSelection(false);
    EXPECT_TRUE(SnapGridParts::rectSelection(grid).state().byDisplay.empty());
    EXPECT_TRUE(SnapGridParts::overlayLifecycle(grid).activePresets().empty());
}

} // namespace
} // namespace tilmora::testing
