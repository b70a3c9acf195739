#include "WindowCommandFixture.hpp"
#include "support/ShellAccess.hpp"
#include "support/SnapGridState.hpp"

#include "model/LayoutStoreVesk.hpp"
#include "model/Settings.hpp"
#include "platform/control/SimInput.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/input/KeyChord.hpp"
#include "shell/SnappingSwitch.hpp"
#include "shortcuts/DefaultShortcuts.hpp"
#include "shortcuts/Registry.hpp"
#include "snapping/SnapBarController.hpp"
#include "snapping/TilingController.hpp"

namespace tilmora::shelltest {
namespace {

using platform::UUID;

class SwitchTest : public WindowCommandTest {};

// Each way of switching snapping off shares the switch and the monitors, then clears what its
// caller asks, the menu's suppress flag before the clearing.
TEST(SnappingOffTest, EachSelectionChoiceRunsItsStepsInOrder) {
    struct Recorder : SnappingSwitch {
        std::vector<std::string> calls;
        void setSnappingEnabled(bool on) override { calls.push_back(on ? "on" : "off"); }
        void stopMonitoring() override { calls.push_back("stopMonitoring"); }
        void setSuppressMenuSelection(bool on) override { calls.push_back(on ? "suppress" : "unsuppress"); }
        void clearAllRectSelections() override { calls.push_back("clearSelections"); }
        void clearGridPresetMarking(bool removeOverlays) override {
            calls.push_back(removeOverlays ? "clearMarks+overlays" : "clearMarks");
        }
    };
    using Calls = std::vector<std::string>;
    const std::pair<SelectionOnSnappingOff, Calls> rows[] = {
        {SelectionOnSnappingOff::kept, {"off", "stopMonitoring"}},
        {SelectionOnSnappingOff::cleared, {"off", "stopMonitoring", "clearSelections", "clearMarks+overlays"}},
        {SelectionOnSnappingOff::clearedWithoutMenuSelection,
         {"off", "stopMonitoring", "suppress", "clearSelections", "clearMarks+overlays"}},
    };
    for (const auto& [selection, calls] : rows) {
        Recorder recorder;
        switchSnappingOff(recorder, selection);
        EXPECT_EQ(recorder.calls, calls) << static_cast<int>(selection);
    }
}

TEST_F(SwitchTest, ToggleSnapBarShowsThenHidesTheBarAndStoresTheWish) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.set(false, settings::snapBarVisible.key);
    ASSERT_TRUE(send("toggleSnapBar:"));
    EXPECT_TRUE(defaults.boolForKey(settings::snapBarVisible.key));
    ASSERT_NE(shell->snapBarController(), nullptr);
    sim().runFor(0.5);
    ASSERT_NE(shell->snapBarController()->window(), nullptr);
    EXPECT_TRUE(shell->snapBarController()->window()->isVisible());
    const auto controller = shell->snapBarController();

    ASSERT_TRUE(send("toggleSnapBar:"));
    sim().runFor(0.5);
    EXPECT_FALSE(defaults.boolForKey(settings::snapBarVisible.key));
    EXPECT_EQ(shell->snapBarController(), controller);
    EXPECT_FALSE(controller->window()->isVisible());
    const auto fresh = newLines();
    EXPECT_EQ(countContaining(fresh, "[UI] Toggle Snap Bar -> SHOW"), 1u);
    EXPECT_EQ(countContaining(fresh, "[UI] Toggle Snap Bar -> HIDE"), 1u);
}

TEST_F(SwitchTest, TheCloseButtonBeforeAnyBarOnlyStoresTheWish) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.set(true, settings::snapBarVisible.key);
    const auto menuBefore = shell->cachedStatusMenu();
    ASSERT_TRUE(send("disableSnapBarFromCloseButton"));
    EXPECT_NE(shell->cachedStatusMenu(), menuBefore);
    EXPECT_FALSE(defaults.boolForKey(settings::snapBarVisible.key));
    EXPECT_EQ(shell->snapBarController(), nullptr);
}

TEST_F(SwitchTest, TheBarsTileProviderGivesTheSingleTilePresetsWhileTheShellLives) {
    const auto store = shell->layoutStore();
    saveVeskPreset(*store, {UUID(), "Left", VeskPresetKind::singleTile, "1", {{UUID(), "t", {0, 0, 0.5, 1}}}, 0},
                   DisplayId("1"));
    saveVeskPreset(*store,
                   {UUID(), "Halves", VeskPresetKind::grid, "1",
                    {{UUID(), "l", {0, 0, 0.5, 1}}, {UUID(), "r", {0.5, 0, 0.5, 1}}}, 0},
                   DisplayId("1"));
    saveVeskPreset(*store, {UUID(), "Another", VeskPresetKind::singleTile, "1", {{UUID(), "t", {0.5, 0, 0.5, 1}}}, 0},
                   DisplayId("1"));
    shell->ensureSnapBarController();
    const auto controller = shell->snapBarController();
    std::vector<std::string> names;
    for (const auto& preset : controller->veskTilePresetsProvider(screen(1))) names.push_back(preset.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Another", "Left"}));
    shell.reset();
    EXPECT_TRUE(controller->veskTilePresetsProvider(screen(1)).empty());
}

TEST_F(SwitchTest, SnappingOffStopsTheMonitorsAndClearsEverySelectionAndOnRestoresNone) {
    desk().useLaptopWithExternal();
    auto& grid = shell->roriDeru();
    auto& defaults = platform::UserDefaults::standard();
    grid.startMonitoringIfNeeded();
    ASSERT_TRUE(grid.isMonitoring());
    grid.setSelectedKind(SnapIconKind::leftHalf, screen(1));
    tilmora::testing::editMarking(grid, [&](auto& state) { state.inMenu = true; });
    const auto tiling = shell->tilingController();
    for (const char* display : {"1", "2"}) {
        defaults.set(UUID().uuidString(), std::string(settings::veskSelectedPresetIdPrefix) + display);
        tiling->setTransientLayout(Layout{LayoutId(UUID()), "L", DisplayId(display), {}}, DisplayId(display));
    }
    const auto menuBefore = shell->cachedStatusMenu();
    ASSERT_TRUE(send("toggleSnapping:"));
    EXPECT_FALSE(grid.isSnappingEnabled());
    EXPECT_FALSE(grid.isMonitoring());
    EXPECT_NE(shell->cachedStatusMenu(), menuBefore);
    EXPECT_FALSE(grid.consumeSuppressMenuSelection()) << "the menu the command rebuilt took the one-shot flag";
    EXPECT_FALSE(grid.selectedKind(screen(1)).has_value());
    EXPECT_FALSE(grid.shouldMarkGridPresetInMenu());
    EXPECT_FALSE(defaults.objectForKey("WMVeskSelectedPresetId.1").has_value());
    EXPECT_FALSE(defaults.objectForKey("WMVeskSelectedPresetId.2").has_value());
    EXPECT_TRUE(tiling->transientLayoutsByDisplay.empty());
    EXPECT_FALSE(defaults.objectForKey(settings::snappingEnabled.key).has_value() &&
                 defaults.objectForKey(settings::snappingEnabled.key) != platform::PropertyValue(true));

    ASSERT_TRUE(send("toggleSnapping:"));
    EXPECT_TRUE(grid.isSnappingEnabled());
    EXPECT_TRUE(grid.isMonitoring());
    EXPECT_FALSE(grid.selectedKind(screen(1)).has_value());
    EXPECT_TRUE(tiling->transientLayoutsByDisplay.empty());
}

TEST_F(SwitchTest, ResetSnapSelectionClearsKindsMarksAndPresetSelectionsFromBothSelectors) {
    auto& grid = shell->roriDeru();
    auto& defaults = platform::UserDefaults::standard();
    for (const char* selector : {"resetSnapSelection:", "resetSnapSelectionFromBar:"}) {
        SCOPED_TRACE(selector);
        grid.consumeSuppressMenuSelection();
        grid.setSelectedKind(SnapIconKind::rightHalf, screen(1));
        defaults.set(UUID().uuidString(), "WMVeskSelectedPresetId.1");
        const auto menuBefore = shell->cachedStatusMenu();
        ASSERT_TRUE(send(selector));
        EXPECT_NE(shell->cachedStatusMenu(), menuBefore);
        EXPECT_FALSE(grid.consumeSuppressMenuSelection()) << "the menu the command rebuilt took the one-shot flag";
        EXPECT_TRUE(grid.isSnappingEnabled());
        EXPECT_FALSE(grid.selectedKind(screen(1)).has_value());
        EXPECT_FALSE(defaults.objectForKey("WMVeskSelectedPresetId.1").has_value());
    }
}

TEST_F(SwitchTest, IntegrationSwitchesFlipTheirKeyAndAnnounceTheChangeWithoutAnObject) {
    auto& defaults = platform::UserDefaults::standard();
    auto& center = platform::NotificationCenter::defaultCenter();
    int posts = 0;
    auto token = center.addObserver("StageIntegrationStateDidChange", nullptr,
                                    [&posts](const platform::Notification& note) {
                                        EXPECT_EQ(note.object, nullptr);
                                        ++posts;
                                    });
    struct Case {
        const char* selector;
        const char* key;
    };
    const Case cases[] = {
        {"toggleIntegrateStageManager:", settings::integrateStageManager.key},
        {"toggleIntegrateMissionControl:", settings::integrateMissionControl.key},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selector);
        posts = 0;
        const bool before = defaults.boolForKey(c.key);
        const auto menuBefore = shell->cachedStatusMenu();
        ASSERT_TRUE(send(c.selector));
        EXPECT_EQ(shell->cachedStatusMenu(), menuBefore);
        EXPECT_EQ(defaults.boolForKey(c.key), !before);
        ASSERT_TRUE(send(c.selector));
        EXPECT_EQ(defaults.boolForKey(c.key), before);
        EXPECT_EQ(posts, 2);
    }
    center.removeObserver(token);
}

TEST_F(SwitchTest, StageReserveOnlyLogs) {
    const auto before = platform::UserDefaults::standard().dictionaryRepresentation();
    ASSERT_TRUE(send("toggleStageReserve:"));
    EXPECT_EQ(platform::UserDefaults::standard().dictionaryRepresentation(), before);
    EXPECT_EQ(countContaining(newLines(), "[UI] Stage Reserve is no longer available."), 1u);
}

class ShortcutSwitchTest : public SwitchTest {
protected:
    void SetUp() override {
        SwitchTest::SetUp();
        registerDefaultSnapShortcutsIfNeeded();
        for (const auto& name : AppDelegate::allKeyboardShortcutNames()) {
            GlobalShortcuts::onKeyDown(name, [this] { ++fired; });
        }
    }

    /// Presses the first-run chord of snap-left-half and returns whether any handler ran.
    bool leftHalfChordFires() {
        fired = 0;
        platform::SimInput::shared().press(*platform::KeyChord::parse("ctrl+opt+left"));
        sim().drainMainQueue();
        return fired > 0;
    }

    std::vector<std::optional<GlobalShortcuts::Shortcut>> storedChords() {
        std::vector<std::optional<GlobalShortcuts::Shortcut>> chords;
        for (const auto& name : AppDelegate::allKeyboardShortcutNames()) chords.push_back(GlobalShortcuts::getShortcut(name));
        return chords;
    }

    int fired = 0;
};

TEST_F(ShortcutSwitchTest, TheCatalogHasSixtyOneNamesInOrder) {
    const auto& names = AppDelegate::allKeyboardShortcutNames();
    ASSERT_EQ(names.size(), 61u);
    EXPECT_EQ(names.front().rawValue, "snap-left-half");
    EXPECT_EQ(names.back().rawValue, "toggle-integrate-mission-control");
}

TEST_F(ShortcutSwitchTest, AnAbsentOrTextSettingReadsOnAndMakesEveryStoredChordLive) {
    auto& defaults = platform::UserDefaults::standard();
    for (const auto& setting : {std::optional<platform::PropertyValue>(),
                                std::optional<platform::PropertyValue>(std::string("NO"))}) {
        defaults.removeObjectForKey(settings::keyboardShortcutsEnabled.key);
        if (setting) defaults.set(*setting, settings::keyboardShortcutsEnabled.key);
        GlobalShortcuts::disable(AppDelegate::allKeyboardShortcutNames());
        ASSERT_FALSE(leftHalfChordFires());
        EXPECT_TRUE(shell->isKeyboardShortcutsEnabled());
        shell->applyKeyboardShortcutsEnabledState();
        EXPECT_TRUE(leftHalfChordFires());
        EXPECT_EQ(platform::SimInput::shared().registeredHotKeys().size(), 29u);
    }
}

TEST_F(ShortcutSwitchTest, TogglingOffSilencesEveryChordAndBackOnRestoresThemUnchanged) {
    shell->applyKeyboardShortcutsEnabledState();
    const auto chords = storedChords();
    const auto menuBefore = shell->cachedStatusMenu();
    ASSERT_TRUE(send("toggleKeyboardShortcutsEnabled:"));
    EXPECT_NE(shell->cachedStatusMenu(), menuBefore);
    EXPECT_EQ(platform::UserDefaults::standard().objectForKey(settings::keyboardShortcutsEnabled.key),
              platform::PropertyValue(false));
    EXPECT_FALSE(shell->isKeyboardShortcutsEnabled());
    EXPECT_FALSE(leftHalfChordFires());
    EXPECT_TRUE(platform::SimInput::shared().registeredHotKeys().empty());
    ASSERT_TRUE(send("toggleKeyboardShortcutsEnabled:"));
    EXPECT_TRUE(leftHalfChordFires());
    EXPECT_EQ(platform::SimInput::shared().registeredHotKeys().size(), 29u);
    EXPECT_EQ(storedChords(), chords);
}

TEST_F(ShortcutSwitchTest, SetKeyboardShortcutsEnabledTakesTheSendersBoolean) {
    shell->applyKeyboardShortcutsEnabledState();
    ASSERT_TRUE(sendWithObject("setKeyboardShortcutsEnabled:", false));
    EXPECT_FALSE(leftHalfChordFires());
    ASSERT_TRUE(sendWithObject("setKeyboardShortcutsEnabled:", std::string("on")));
    EXPECT_FALSE(leftHalfChordFires());
    ASSERT_TRUE(sendWithObject("setKeyboardShortcutsEnabled:", true));
    EXPECT_TRUE(leftHalfChordFires());
}

TEST_F(ShortcutSwitchTest, APassStartedDuringAPassDoesNothing) {
    GlobalShortcuts::disable(AppDelegate::allKeyboardShortcutNames());
    tilmora::testing::ShellAccess::shortcutSwitch(*shell).setApplying(true);
    shell->applyKeyboardShortcutsEnabledState();
    EXPECT_FALSE(leftHalfChordFires());
    EXPECT_TRUE(shell->isApplyingKeyboardShortcutsState());
    tilmora::testing::ShellAccess::shortcutSwitch(*shell).setApplying(false);
    shell->applyKeyboardShortcutsEnabledState();
    EXPECT_TRUE(leftHalfChordFires());
}

} // namespace
} // namespace tilmora::shelltest
