#include "PreferencesFixture.hpp"

#include "platform/control/SystemLogControl.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/ui/PopUpButton.hpp"
#include "platform/ui/Slider.hpp"
#include "windows/StageIntegration.hpp"
#include "windows/WindowManager.hpp"

#include <algorithm>

using namespace tilmora;
namespace decl = platform::ui::declarative;
using platform::PropertyValue;

namespace {

/// Counts the posts of one notification of the default center.
struct PostCounter {
    explicit PostCounter(const std::string& name) {
        token = platform::NotificationCenter::defaultCenter().addObserver(
            name, nullptr, [this](const platform::Notification&) { ++count; });
    }
    ~PostCounter() { platform::NotificationCenter::defaultCenter().removeObserver(token); }
    PostCounter(const PostCounter&) = delete;
    int count = 0;
    platform::ObserverToken token;
};

using Calls = std::vector<std::string>;

/// Every control that writes its key, and whether it writes it at once or after one turn.
struct TimingCase {
    const char* control;
    const char* key;
    bool atOnce;
    std::vector<double> slide; // empty: a click
} timingCases[] = {
    {"prefs.verbose", "WMVerboseLogging", false, {}},
    {"prefs.strictRestore", "WMStrictRestore", false, {}},
    {"prefs.integrateStageManager", "WMIntegrateStageManager", false, {}},
    {"prefs.autoDetectStageManager", "WMAutoDetectStageManager", false, {}},
    {"prefs.stageReserveLeft", "WMStageReserveLeftWidth", false, {37}},
    {"prefs.integrateMissionControl", "WMIntegrateMissionControl", false, {}},
    {"prefs.autoHideSnapBarWithMC", "WMAutoHideSnapBarWithMissionControl", false, {}},
    {"prefs.autoHideSnapBarWithSM", "WMAutoHideSnapBarWithStageManager", false, {}},
    {"prefs.snappingEnabled", "WMSnappingEnabled", false, {}},
    {"prefs.layoutAllDisplays", "WMGridAllDisplays", false, {}},
    {"prefs.autoApplyLayouts", "WMAutoApplyDisplayLayouts", false, {}},
    {"prefs.preserveRelativeSizing", "WMPreserveRelativeMove", false, {}},
    {"prefs.snapshotAllSpaces", "WMSnapshotAllSpaces", true, {}},
    {"prefs.spacesDiagnostics", "WMSpacesLogDiagnostics", true, {}},
    {"prefs.spacesKillSwitch", "WMSpacesKillSwitch", true, {}},
    {"prefs.autoResetSnapshotQuit", "WMAutoResetSnapshotQuit", true, {}},
    {"prefs.shortcuts.masterToggle", "WMKeyboardShortcutsEnabled", false, {}},
    {"prefs.useCursorDisplay", "UseCursorDisplay", false, {}},
    {"prefs.minimalMenuMode", "MinimalMenuMode", false, {}},
    {"menu.showSnapBar", "WMSnapBarVisible", false, {}},
    {"prefs.dragSnapping", "WMMagnetDragMode", false, {}},
    {"prefs.requireOption", "WMDragRequireOption", false, {}},
    {"prefs.gapsUniform", "WMGapSize", true, {7.5}},
    {"prefs.gapsHorizontal", "WMGapHorizontal", true, {3}},
    {"prefs.gapsVertical", "WMGapVertical", true, {4}},
    {"prefs.applyGapsEdgesAll", "WMGapsIncludeScreenEdges", true, {}},
    {"prefs.left", "WMGapsEdgesLeft", true, {}},
    {"prefs.right", "WMGapsEdgesRight", true, {}},
    {"prefs.top", "WMGapsEdgesTop", true, {}},
    {"prefs.bottom", "WMGapsEdgesBottom", true, {}},
};

TEST_F(PreferencesTest, AFreshInstallReadsRegisteredValuesOrTheReadsOwnFallbacks) {
    struct Case {
        const char* what;
        platform::PropertyDictionary registered;
        platform::PropertyDictionary stored;
        bool verbose, autoApply;
        double gapH;
        const char* captureTitle;
    } cases[] = {
        {"the shell's registration",
         {{"WMVerboseLogging", PropertyValue(true)},
          {"WMAutoApplyDisplayLayouts", PropertyValue(false)},
          {"WMGapSize", PropertyValue(0.0)},
          {"WMGapHorizontal", PropertyValue(0.0)}},
         {},
         true,
         false,
         0,
         "Window center"},
        {"nothing registered", {}, {}, false, true, 0, "Window center"},
        {"a uniform gap only", {}, {{"WMGapSize", PropertyValue(6.0)}}, false, true, 6, "Window center"},
        {"a uniform gap stored as text",
         {},
         {{"WMGapSize", PropertyValue(std::string("6"))}},
         false,
         true,
         0,
         "Window center"},
        {"a horizontal gap of its own",
         {},
         {{"WMGapSize", PropertyValue(6.0)}, {"WMGapHorizontal", PropertyValue(2.0)}},
         false,
         true,
         2,
         "Window center"},
        {"an unknown capture rule",
         {},
         {{"WMCapturePrimaryRule", PropertyValue(std::string("other"))}},
         false,
         true,
         0,
         "Window center"},
        {"the overlap rule",
         {},
         {{"WMCapturePrimaryRule", PropertyValue(std::string("overlap"))}},
         false,
         true,
         0,
         "Largest overlap"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        resetSharedInstances();
        for (const auto& [key, _] : defaults().dictionaryRepresentation())
            defaults().removeObjectForKey(key);
        defaults().registerDefaults(c.registered);
        for (const auto& [key, value] : c.stored)
            store(key, value);
        auto driver = open();
        EXPECT_EQ(view().verboseLogging.get(), c.verbose);
        EXPECT_EQ(view().autoApplyDisplayLayouts.get(), c.autoApply);
        auto* horizontal = dynamic_cast<platform::ui::Slider*>(driver.nativeView("prefs.gapsHorizontal"));
        ASSERT_NE(horizontal, nullptr);
        EXPECT_EQ(horizontal->doubleValue(), c.gapH);
        EXPECT_TRUE(driver.hasText(PreferencesView::valueText(c.gapH)));
        auto* capture = dynamic_cast<platform::ui::PopUpButton*>(driver.nativeView("prefs.captureRule"));
        ASSERT_NE(capture, nullptr);
        EXPECT_EQ(capture->titleOfSelectedItem(), c.captureTitle);
        // Showing the rule changes nothing stored.
        EXPECT_EQ(defaults().objectForKey("WMCapturePrimaryRule"),
                  c.stored.count("WMCapturePrimaryRule") ? std::optional(c.stored.at("WMCapturePrimaryRule"))
                                                         : std::nullopt);
        window->close();
    }
}

class TimingTest : public PreferencesTest {
protected:
    /// Works each control that writes at once (or each that does not): its key is absent right
    /// after the user's action unless it writes at once, and present after one drain.
    void checkTiming(bool atOnce, decl::ViewDriver& driver) {
        for (const auto& c : timingCases) {
            if (c.atOnce != atOnce) continue;
            SCOPED_TRACE(c.control);
            defaults().removeObjectForKey(c.key);
            if (c.slide.empty()) {
                ASSERT_TRUE(driver.click(c.control));
            } else {
                ASSERT_TRUE(driver.slide(c.control, c.slide));
            }
            EXPECT_EQ(defaults().objectForKey(c.key).has_value(), c.atOnce);
            drain();
            EXPECT_TRUE(defaults().objectForKey(c.key).has_value());
        }
    }
};

TEST_F(TimingTest, GapAndEdgeControlsWriteTheirKeysAtOnce) {
    auto driver = open();
    checkTiming(true, driver);
    EXPECT_EQ(defaults().doubleForKey("WMGapSize"), 8);
}

TEST_F(TimingTest, EveryOtherControlWritesItsKeyAfterOneTurn) {
    auto driver = open();
    checkTiming(false, driver);
    EXPECT_EQ(defaults().doubleForKey("WMStageReserveLeftWidth"), 38);
}

TEST_F(PreferencesTest, TheCaptureRuleIsStoredAsItsCodeOnTheNextTurn) {
    auto driver = open();
    ASSERT_TRUE(driver.pick("prefs.captureRule", "Largest overlap"));
    EXPECT_FALSE(defaults().objectForKey("WMCapturePrimaryRule"));
    drain();
    EXPECT_EQ(defaults().stringForKey("WMCapturePrimaryRule"), "overlap");
}

TEST_F(PreferencesTest, TheSnapBarBoxTogglesTheBarOnlyWhenTheStoredValueDiffers) {
    struct Case {
        const char* what;
        bool storedWhenClicked;
        bool controller;
        Calls calls;
    } cases[] = {
        {"stored true", true, true, {"refreshIndicators", "createMenu"}},
        {"stored false", false, true, {"toggleSnapBar", "refreshIndicators", "createMenu"}},
        {"stored false, no snap bar", false, false, {"toggleSnapBar", "createMenu"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        store("WMSnapBarVisible", PropertyValue(false));
        auto driver = open();
        shell->hasSnapBarController = c.controller;
        store("WMSnapBarVisible", PropertyValue(c.storedWhenClicked));
        takeCalls();
        ASSERT_TRUE(driver.click("Show Snap Bar"));
        drain();
        EXPECT_EQ(takeCalls(), c.calls);
        EXPECT_TRUE(defaults().boolForKey("WMSnapBarVisible"));
        window->close();
    }
}

TEST_F(PreferencesTest, SnappingOffStopsTheGridAndOnStartsItThenTheBarAndMenuFollow) {
    auto driver = open();
    takeCalls();
    ASSERT_TRUE(driver.click("prefs.snappingEnabled"));
    EXPECT_EQ(takeCalls(), Calls{});
    drain();
    EXPECT_EQ(takeCalls(), (Calls{"snappingEnabled false", "stopMonitoring", "suppressMenuSelection true",
                                  "clearAllRectSelections", "clearGridPresetMarking true",
                                  "refreshIndicators", "createMenu"}));
    EXPECT_EQ(defaults().objectForKey("WMSnappingEnabled"), PropertyValue(false));
    ASSERT_TRUE(driver.click("prefs.snappingEnabled"));
    drain();
    EXPECT_EQ(takeCalls(),
              (Calls{"snappingEnabled true", "startMonitoringIfNeeded", "refreshIndicators", "createMenu"}));
}

TEST_F(PreferencesTest, SwitchesReachTheirComponentsOnTheNextTurn) {
    struct Case {
        const char* control;
        Calls calls;
        int stagePosts;
    } cases[] = {
        {"prefs.minimalMenuMode", {"createMenu"}, 0},
        {"prefs.dragSnapping", {"magnetMode true"}, 0},
        {"prefs.requireOption", {"dragRequireOption true"}, 0},
        {"prefs.shortcuts.masterToggle", {"applyKeyboardShortcutsEnabledState", "createMenu"}, 0},
        {"prefs.layoutAllDisplays", {"layoutScopePreferenceDidChange"}, 0},
        {"prefs.integrateStageManager", {}, 1},
        {"prefs.autoHideSnapBarWithSM", {}, 1},
        {"prefs.strictRestore", {}, 0},
    };
    auto driver = open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        PostCounter stage(StageIntegration::stateDidChange);
        takeCalls();
        ASSERT_TRUE(driver.click(c.control));
        drain();
        EXPECT_EQ(takeCalls(), c.calls);
        EXPECT_EQ(stage.count, c.stagePosts);
    }
    PostCounter stage(StageIntegration::stateDidChange);
    ASSERT_TRUE(driver.slide("prefs.stageReserveLeft", {10, 20}));
    drain();
    EXPECT_EQ(stage.count, 2);
    ASSERT_TRUE(driver.click("prefs.verbose"));
    drain();
    EXPECT_TRUE(WindowManager::verboseLogging());
}

TEST_F(PreferencesTest, AutoApplyOnAppliesTheStoredLayoutsOfTheSharedMemoryAndOffNothing) {
    store("WMVerboseLogging", PropertyValue(true));
    store("WMAutoApplyDisplayLayouts", PropertyValue(false));
    auto driver = open();
    auto applied = [] {
        auto lines = platform::SystemLogControl::recordedLines();
        return std::count_if(lines.begin(), lines.end(), [](const std::string& l) {
            return l.find("[DisplayLayoutMemory] No stored layout for configuration") != std::string::npos;
        });
    };
    ASSERT_TRUE(driver.click("prefs.autoApplyLayouts"));
    EXPECT_EQ(applied(), 0);
    drain();
    EXPECT_EQ(applied(), 1);
    ASSERT_TRUE(driver.click("prefs.autoApplyLayouts"));
    drain();
    EXPECT_EQ(applied(), 1);
    EXPECT_EQ(defaults().objectForKey("WMAutoApplyDisplayLayouts"), PropertyValue(false));
}

TEST_F(PreferencesTest, SaveWritesTheMainKeysAndAppliesTheSwitchesAgainEachTime) {
    store("WMMagnetDragMode", PropertyValue(true));
    store("WMGapSize", PropertyValue(5.0));
    store("WMCapturePrimaryRule", PropertyValue(std::string("overlap")));
    auto driver = open();
    // Changed elsewhere after the form read them: the form follows, and Save writes what it shows.
    store("WMMagnetDragMode", PropertyValue(false));
    store("WMSnapBarVisible", PropertyValue(true));
    const std::vector<std::pair<const char*, PropertyValue>> written = {
        {"WMVerboseLogging", PropertyValue(false)},
        {"WMStrictRestore", PropertyValue(false)},
        {"WMCapturePrimaryRule", PropertyValue(std::string("overlap"))},
        {"MinimalMenuMode", PropertyValue(false)},
        {"WMSnapBarVisible", PropertyValue(true)},
        {"UseCursorDisplay", PropertyValue(false)},
        {"WMMagnetDragMode", PropertyValue(false)},
        {"WMDragRequireOption", PropertyValue(false)},
        {"WMKeyboardShortcutsEnabled", PropertyValue(true)},
        {"WMGapSize", PropertyValue(5.0)},
        {"WMGapHorizontal", PropertyValue(5.0)},
        {"WMGapVertical", PropertyValue(5.0)},
        {"WMGapsIncludeScreenEdges", PropertyValue(false)},
        {"WMGapsEdgesLeft", PropertyValue(false)},
        {"WMGapsEdgesRight", PropertyValue(false)},
        {"WMGapsEdgesTop", PropertyValue(false)},
        {"WMGapsEdgesBottom", PropertyValue(false)},
    };
    WindowManager::setVerboseLogging(true);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        takeCalls();
        int changes = 0;
        auto token = platform::NotificationCenter::defaultCenter().addObserver(
            platform::UserDefaults::didChangeNotification, nullptr,
            [&](const platform::Notification&) { ++changes; });
        ASSERT_TRUE(driver.click("prefs.save"));
        platform::NotificationCenter::defaultCenter().removeObserver(token);
        for (const auto& [key, value] : written)
            EXPECT_EQ(defaults().objectForKey(key), value) << key;
        EXPECT_EQ(changes, 17);
        EXPECT_FALSE(WindowManager::verboseLogging());
        EXPECT_EQ(takeCalls(), (Calls{"magnetMode false", "dragRequireOption false"}));
        drain();
        EXPECT_EQ(takeCalls(), (Calls{"applyKeyboardShortcutsEnabledState", "createMenu"}));
        EXPECT_TRUE(window->isVisible());
    }
}

TEST_F(PreferencesTest, KeysChangedElsewhereShowInTheFormAndAfterItShowsAgain) {
    open();
    store("WMIntegrateStageManager", PropertyValue(true));
    store("WMStageReserveLeftWidth", PropertyValue(120.0));
    store("WMSpacesKillSwitch", PropertyValue(true));
    store("WMSnapBarVisible", PropertyValue(true));
    store("WMGridAllDisplays", PropertyValue(true));
    window->orderOut();
    drain();
    window->makeKeyAndOrderFront();
    drain();
    EXPECT_TRUE(view().integrateStageManager.get());
    EXPECT_EQ(view().stageReserveLeft.get(), 120);
    EXPECT_TRUE(view().spacesKillSwitch.get());
    EXPECT_TRUE(view().snapBarVisible.get());
    EXPECT_TRUE(view().layoutAllDisplays.get());
    EXPECT_TRUE(view().uiReady.get());
}

TEST_F(PreferencesTest, CloseClosesThePreferencesWindowEvenWhenAnotherIsKey) {
    auto driver = open();
    auto other = std::make_shared<platform::ui::Window>(platform::ui::Rect{0, 0, 200, 100},
                                                        platform::ui::StyleMask::titled);
    other->makeKeyAndOrderFront();
    ASSERT_TRUE(driver.click("prefs.close"));
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(other->isVisible());
    // Out of any window the button does nothing.
    host->removeFromSuperview();
    EXPECT_TRUE(driver.click("prefs.close"));
    EXPECT_TRUE(other->isVisible());
    other->close();
}

TEST(PreferencesValueText, ShowsTheTruncatedValueAndSaturatesOutsideTheRange) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {12.0, "12 px"},
        {2.9, "2 px"},
        {399.9, "399 px"},
        {30, "30 px"},
        {-2.9, "-2 px"},
        {std::nan(""), "0 px"},
        {1e30, "9223372036854775807 px"},
        {std::numeric_limits<double>::infinity(), "9223372036854775807 px"},
        {-1e30, "-9223372036854775808 px"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PreferencesView::valueText(c.value), c.text) << c.value;
}

TEST_F(PreferencesTest, AStoredGapBeyondTheSliderShowsItsValueWithTheKnobAtTheEnd) {
    store("WMGapSize", PropertyValue(30.0));
    store("WMStageReserveLeftWidth", PropertyValue(399.9));
    auto driver = open();
    EXPECT_TRUE(driver.hasText("30 px"));
    EXPECT_TRUE(driver.hasText("399 px"));
    auto* slider = dynamic_cast<platform::ui::Slider*>(driver.nativeView("prefs.gapsUniform"));
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->doubleValue(), 24);
    EXPECT_EQ(slider->numberOfTickMarks, 25);
    auto* reserve = dynamic_cast<platform::ui::Slider*>(driver.nativeView("prefs.stageReserveLeft"));
    ASSERT_NE(reserve, nullptr);
    EXPECT_EQ(reserve->numberOfTickMarks, 201);
    EXPECT_EQ(defaults().doubleForKey("WMGapSize"), 30); // kept until the user moves the knob
}

} // namespace
