#include "PreferencesFixture.hpp"

#include "model/Settings.hpp"

#include "platform/control/SystemLogControl.hpp"
#include "platform/control/UISimulator.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/ui/Button.hpp"
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
    {"prefs.verbose", settings::verboseLogging.key, false, {}},
    {"prefs.strictRestore", settings::strictRestore.key, false, {}},
    {"prefs.integrateStageManager", settings::integrateStageManager.key, false, {}},
    {"prefs.autoDetectStageManager", settings::autoDetectStageManager.key, false, {}},
    {"prefs.stageReserveLeft", settings::stageReserveLeftWidth.key, false, {37}},
    {"prefs.integrateMissionControl", settings::integrateMissionControl.key, false, {}},
    {"prefs.autoHideSnapBarWithMC", settings::autoHideSnapBarWithMissionControl.key, false, {}},
    {"prefs.autoHideSnapBarWithSM", settings::autoHideSnapBarWithStageManager.key, false, {}},
    {"prefs.snappingEnabled", settings::snappingEnabled.key, false, {}},
    {"prefs.layoutAllDisplays", settings::gridAllDisplays.key, false, {}},
    {"prefs.autoApplyLayouts", settings::autoApplyDisplayLayouts.key, false, {}},
    {"prefs.preserveRelativeSizing", settings::preserveRelativeMove.key, false, {}},
    {"prefs.snapshotAllSpaces", settings::snapshotAllSpaces.key, true, {}},
    {"prefs.spacesDiagnostics", settings::spacesLogDiagnostics.key, true, {}},
    {"prefs.spacesKillSwitch", settings::spacesKillSwitch.key, true, {}},
    {"prefs.autoResetSnapshotQuit", settings::autoResetSnapshotQuit.key, true, {}},
    {"prefs.shortcuts.masterToggle", settings::keyboardShortcutsEnabled.key, false, {}},
    {"prefs.useCursorDisplay", settings::useCursorDisplay.key, false, {}},
    {"prefs.minimalMenuMode", settings::minimalMenuMode.key, false, {}},
    {"menu.showSnapBar", settings::snapBarVisible.key, false, {}},
    {"prefs.dragSnapping", settings::magnetDragMode.key, false, {}},
    {"prefs.requireOption", settings::dragRequireOption.key, false, {}},
    {"prefs.gapsUniform", settings::gapSize.key, true, {7.5}},
    {"prefs.gapsHorizontal", settings::gapHorizontal.key, true, {3}},
    {"prefs.gapsVertical", settings::gapVertical.key, true, {4}},
    {"prefs.applyGapsEdgesAll", settings::gapsIncludeScreenEdges.key, true, {}},
    {"prefs.left", settings::gapsEdgesLeft.key, true, {}},
    {"prefs.right", settings::gapsEdgesRight.key, true, {}},
    {"prefs.top", settings::gapsEdgesTop.key, true, {}},
    {"prefs.bottom", settings::gapsEdgesBottom.key, true, {}},
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
         {{settings::verboseLogging.key, PropertyValue(true)},
          {settings::autoApplyDisplayLayouts.key, PropertyValue(false)},
          {settings::gapSize.key, PropertyValue(0.0)},
          {settings::gapHorizontal.key, PropertyValue(0.0)}},
         {},
         true,
         false,
         0,
         "Window center"},
        {"nothing registered", {}, {}, false, true, 0, "Window center"},
        {"a uniform gap only",
         {},
         {{settings::gapSize.key, PropertyValue(6.0)}},
         false,
         true,
         6,
         "Window center"},
        {"a uniform gap stored as text",
         {},
         {{settings::gapSize.key, PropertyValue(std::string("6"))}},
         false,
         true,
         0,
         "Window center"},
        {"a horizontal gap of its own",
         {},
         {{settings::gapSize.key, PropertyValue(6.0)}, {settings::gapHorizontal.key, PropertyValue(2.0)}},
         false,
         true,
         2,
         "Window center"},
        {"an unknown capture rule",
         {},
         {{settings::capturePrimaryRule.key, PropertyValue(std::string("other"))}},
         false,
         true,
         0,
         "Window center"},
        {"the overlap rule",
         {},
         {{settings::capturePrimaryRule.key, PropertyValue(std::string("overlap"))}},
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
        EXPECT_EQ(shown(settings::verboseLogging.key), PropertyValue(c.verbose));
        EXPECT_EQ(shown(settings::autoApplyDisplayLayouts.key), PropertyValue(c.autoApply));
        auto* horizontal = dynamic_cast<platform::ui::Slider*>(driver.nativeView("prefs.gapsHorizontal"));
        ASSERT_NE(horizontal, nullptr);
        EXPECT_EQ(horizontal->doubleValue(), c.gapH);
        EXPECT_TRUE(driver.hasText(PreferencesView::valueText(c.gapH, 0, 24)));
        auto* capture = dynamic_cast<platform::ui::PopUpButton*>(driver.nativeView("prefs.captureRule"));
        ASSERT_NE(capture, nullptr);
        EXPECT_EQ(capture->titleOfSelectedItem(), c.captureTitle);
        // Showing the rule changes nothing stored.
        EXPECT_EQ(defaults().objectForKey(settings::capturePrimaryRule.key),
                  c.stored.count(settings::capturePrimaryRule.key)
                      ? std::optional(c.stored.at(settings::capturePrimaryRule.key))
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
    EXPECT_EQ(defaults().doubleForKey(settings::gapSize.key), 8);
}

TEST_F(TimingTest, EveryOtherControlWritesItsKeyAfterOneTurn) {
    auto driver = open();
    checkTiming(false, driver);
    EXPECT_EQ(defaults().doubleForKey(settings::stageReserveLeftWidth.key), 38);
}

// The uniform gap writes both directions with it (the launch registers them as 0, which would
// override it); each direction's slider then moves its own key alone.
TEST_F(PreferencesTest, TheUniformGapSetsBothDirectionsThatThenMoveAlone) {
    defaults().registerDefaults(settings::registeredDefaults());
    auto driver = open();
    struct Step {
        const char* control;
        double value;
        double uniform, horizontal, vertical; // stored at once and shown after one turn
    };
    const Step steps[] = {
        {"prefs.gapsUniform", 10, 10, 10, 10},
        {"prefs.gapsHorizontal", 4, 10, 4, 10},
        {"prefs.gapsVertical", 0, 10, 4, 0},
        {"prefs.gapsUniform", 6, 6, 6, 6},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(std::string(step.control) + " " + std::to_string(step.value));
        ASSERT_TRUE(driver.slide(step.control, {step.value}));
        const std::pair<const char*, double> expected[] = {{settings::gapSize.key, step.uniform},
                                                           {settings::gapHorizontal.key, step.horizontal},
                                                           {settings::gapVertical.key, step.vertical}};
        for (const auto& [key, value] : expected)
            EXPECT_EQ(defaults().objectForKey(key), PropertyValue(value)) << key;
        drain();
        for (const auto& [key, value] : expected)
            EXPECT_EQ(shown(key), PropertyValue(value)) << key;
    }
}

TEST_F(PreferencesTest, TheCaptureRuleIsStoredAsItsCodeOnTheNextTurn) {
    auto driver = open();
    ASSERT_TRUE(driver.pick("prefs.captureRule", "Largest overlap"));
    EXPECT_FALSE(defaults().objectForKey(settings::capturePrimaryRule.key));
    drain();
    EXPECT_EQ(defaults().stringForKey(settings::capturePrimaryRule.key), "overlap");
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
        store(settings::snapBarVisible.key, PropertyValue(false));
        auto driver = open();
        shell->hasSnapBarController = c.controller;
        store(settings::snapBarVisible.key, PropertyValue(c.storedWhenClicked));
        takeCalls();
        // The box still shows the value it had before the store: the form follows it on its next
        // rebuild, which the click comes before.
        auto* box = dynamic_cast<platform::ui::Button*>(driver.nativeView("Show Snap Bar"));
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(platform::ui::UISimulator::click(*box));
        drain();
        EXPECT_EQ(takeCalls(), c.calls);
        EXPECT_TRUE(defaults().boolForKey(settings::snapBarVisible.key));
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
    EXPECT_EQ(defaults().objectForKey(settings::snappingEnabled.key), PropertyValue(false));
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
    store(settings::verboseLogging.key, PropertyValue(true));
    store(settings::autoApplyDisplayLayouts.key, PropertyValue(false));
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
    EXPECT_EQ(defaults().objectForKey(settings::autoApplyDisplayLayouts.key), PropertyValue(false));
}

TEST_F(PreferencesTest, SaveWritesTheMainKeysAndAppliesTheSwitchesAgainEachTime) {
    store(settings::magnetDragMode.key, PropertyValue(true));
    store(settings::gapSize.key, PropertyValue(5.0));
    store(settings::capturePrimaryRule.key, PropertyValue(std::string("overlap")));
    auto driver = open();
    // Changed elsewhere after the form read them: the form follows, and Save writes what it shows.
    store(settings::magnetDragMode.key, PropertyValue(false));
    store(settings::snapBarVisible.key, PropertyValue(true));
    const std::vector<std::pair<const char*, PropertyValue>> written = {
        {settings::verboseLogging.key, PropertyValue(false)},
        {settings::strictRestore.key, PropertyValue(false)},
        {settings::capturePrimaryRule.key, PropertyValue(std::string("overlap"))},
        {settings::minimalMenuMode.key, PropertyValue(false)},
        {settings::snapBarVisible.key, PropertyValue(true)},
        {settings::useCursorDisplay.key, PropertyValue(false)},
        {settings::magnetDragMode.key, PropertyValue(false)},
        {settings::dragRequireOption.key, PropertyValue(false)},
        {settings::keyboardShortcutsEnabled.key, PropertyValue(true)},
        {settings::gapSize.key, PropertyValue(5.0)},
        {settings::gapHorizontal.key, PropertyValue(5.0)},
        {settings::gapVertical.key, PropertyValue(5.0)},
        {settings::gapsIncludeScreenEdges.key, PropertyValue(false)},
        {settings::gapsEdgesLeft.key, PropertyValue(false)},
        {settings::gapsEdgesRight.key, PropertyValue(false)},
        {settings::gapsEdgesTop.key, PropertyValue(false)},
        {settings::gapsEdgesBottom.key, PropertyValue(false)},
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
    store(settings::integrateStageManager.key, PropertyValue(true));
    store(settings::stageReserveLeftWidth.key, PropertyValue(120.0));
    store(settings::spacesKillSwitch.key, PropertyValue(true));
    store(settings::snapBarVisible.key, PropertyValue(true));
    store(settings::gridAllDisplays.key, PropertyValue(true));
    window->orderOut();
    drain();
    window->makeKeyAndOrderFront();
    drain();
    EXPECT_EQ(shown(settings::integrateStageManager.key), PropertyValue(true));
    EXPECT_EQ(shown(settings::stageReserveLeftWidth.key), PropertyValue(120.0));
    EXPECT_EQ(shown(settings::spacesKillSwitch.key), PropertyValue(true));
    EXPECT_EQ(shown(settings::snapBarVisible.key), PropertyValue(true));
    EXPECT_EQ(shown(settings::gridAllDisplays.key), PropertyValue(true));
    EXPECT_TRUE(view().uiReady());
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

TEST(PreferencesValueText, ShowsTheTruncatedValueAndWhatTheSliderHoldsForValuesBeyondTheIntegers) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {12.0, "12 px"},
        {2.9, "2 px"},
        {399.9, "399 px"},
        {30, "30 px"},
        {-2.9, "-2 px"},
        {1e18, "1000000000000000000 px"},
        {std::nan(""), "0 px"},
        {1e30, "24 px"},
        {1e308, "24 px"},
        {std::numeric_limits<double>::infinity(), "24 px"},
        {-1e30, "0 px"},
        {-1e308, "0 px"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PreferencesView::valueText(c.value, 0, 24), c.text) << c.value;
}

TEST_F(PreferencesTest, AStoredGapBeyondTheSliderShowsItsValueWithTheKnobAtTheEnd) {
    store(settings::gapSize.key, PropertyValue(30.0));
    store(settings::stageReserveLeftWidth.key, PropertyValue(399.9));
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
    EXPECT_EQ(defaults().doubleForKey(settings::gapSize.key), 30); // kept until the user moves the knob
}

} // namespace
