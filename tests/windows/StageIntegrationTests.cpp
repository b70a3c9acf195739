#include "windows/StageIntegration.hpp"

#include "model/Settings.hpp"

#include "platform/control/DesktopSpecs.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/control/SimInput.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "support/DesktopBuilders.hpp"
#include "support/PlatformTest.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include <functional>
#include <string>

namespace tilmora {
namespace {

using platform::PropertyDictionary;
using platform::UserDefaults;

class StageIntegrationTest : public ::PlatformTest {
protected:
    static void set(const PropertyDictionary& values, UserDefaults& defaults = UserDefaults::standard()) {
        for (const auto& [key, value] : values)
            defaults.set(value, key);
    }
};

TEST_F(StageIntegrationTest, StageManagerStateComesFromTheSystemSuiteOnlyWithDetectionOn) {
    struct Case {
        const char* name;
        PropertyDictionary settings;
        PropertyDictionary system;
        bool expected;
        platform::OperatingSystemVersion os = {15, 3, 0};
    };
    const Case cases[] = {
        {"nothing stored", {}, {}, false},
        {"detection off", {}, {{"GloballyEnabled", true}}, false},
        {"globally enabled",
         {{settings::autoDetectStageManager.key, true}},
         {{"GloballyEnabled", true}},
         true},
        {"older key", {{settings::autoDetectStageManager.key, true}}, {{"EnableStageManager", true}}, true},
        {"newer key wins",
         {{settings::autoDetectStageManager.key, true}},
         {{"GloballyEnabled", false}, {"EnableStageManager", true}},
         false},
        {"no system keys", {{settings::autoDetectStageManager.key, true}}, {}, false},
        {"mock switch", {{settings::mockStageManagerActive.key, true}}, {}, true},
        {"first system with it",
         {{settings::autoDetectStageManager.key, true}},
         {{"GloballyEnabled", true}},
         true,
         {13, 0, 0}},
        {"older system",
         {{settings::autoDetectStageManager.key, true}},
         {{"GloballyEnabled", true}},
         false,
         {12, 6, 0}},
        {"mock switch on an older system",
         {{settings::mockStageManagerActive.key, true}},
         {},
         true,
         {12, 6, 0}},
    };
    for (const auto& c : cases) {
        platform::SharedInstances::resetAll();
        UserDefaults suite("com.apple.WindowManager");
        for (const char* key : {"GloballyEnabled", "EnableStageManager"})
            suite.removeObjectForKey(key);
        for (const char* key : {settings::autoDetectStageManager.key, settings::mockStageManagerActive.key}) {
            UserDefaults::standard().removeObjectForKey(key);
        }
        set(c.settings);
        set(c.system, suite);
        platform::SimInput::shared().setOperatingSystemVersion(c.os);
        EXPECT_EQ(StageIntegration::isStageManagerActive(), c.expected) << c.name;
    }
}

TEST_F(StageIntegrationTest, ReserveNarrowsOnlyThePrimaryFrameWhileStageManagerIsActive) {
    const Rect primary{0, 80, 1440, 795};
    struct Case {
        const char* name;
        PropertyDictionary settings;
        bool isPrimary;
        Rect expected;
    };
    const PropertyDictionary active{{settings::integrateStageManager.key, true},
                                    {settings::mockStageManagerActive.key, true}};
    const auto with = [&](PropertyDictionary extra) {
        PropertyDictionary all = active;
        all.insert(extra.begin(), extra.end());
        return all;
    };
    const Case cases[] = {
        {"reserve 200", with({{settings::stageReserveLeftWidth.key, 200.0}}), true, {200, 80, 1240, 795}},
        {"integer reserve", with({{settings::stageReserveLeftWidth.key, 200}}), true, {200, 80, 1240, 795}},
        {"reserve 2000", with({{settings::stageReserveLeftWidth.key, 2000.0}}), true, {1439, 80, 1, 795}},
        {"reserve 1e308", with({{settings::stageReserveLeftWidth.key, 1e308}}), true, {1439, 80, 1, 795}},
        {"infinite reserve", with({{settings::stageReserveLeftWidth.key, HUGE_VAL}}), true, {1439, 80, 1, 795}},
        {"NaN reserve", with({{settings::stageReserveLeftWidth.key, std::nan("")}}), true, primary},
        {"reserve -1e308", with({{settings::stageReserveLeftWidth.key, -1e308}}), true, primary},
        {"reserve 0", with({{settings::stageReserveLeftWidth.key, 0.0}}), true, primary},
        {"negative reserve", with({{settings::stageReserveLeftWidth.key, -50.0}}), true, primary},
        {"text reserve", with({{settings::stageReserveLeftWidth.key, "200"}}), true, primary},
        // A stored Boolean is cast to a double: true is a reserve of 1 point, false none.
        {"Boolean reserve true", with({{settings::stageReserveLeftWidth.key, true}}), true, {1, 80, 1439, 795}},
        {"Boolean reserve false", with({{settings::stageReserveLeftWidth.key, false}}), true, primary},
        {"no reserve", active, true, primary},
        {"secondary screen", with({{settings::stageReserveLeftWidth.key, 200.0}}), false, primary},
        {"integration off",
         {{settings::mockStageManagerActive.key, true}, {settings::stageReserveLeftWidth.key, 200.0}},
         true,
         primary},
        {"stage manager inactive",
         {{settings::integrateStageManager.key, true}, {settings::stageReserveLeftWidth.key, 200.0}},
         true,
         primary},
    };
    for (const auto& c : cases) {
        platform::SharedInstances::resetAll();
        for (const char* key : {settings::integrateStageManager.key, settings::mockStageManagerActive.key,
                                settings::stageReserveLeftWidth.key}) {
            UserDefaults::standard().removeObjectForKey(key);
        }
        set(c.settings);
        EXPECT_EQ(StageIntegration::effectiveVisibleFrame(primary, c.isPrimary), c.expected) << c.name;
    }
}

TEST_F(StageIntegrationTest, MissionControlIsADockWindowNamedSo) {
    using platform::SimDesktop;
    struct Case {
        const char* name;
        const char* owner;
        const char* title;
        bool hideNames;
        bool expected;
    };
    const Case cases[] = {
        {"dock window", "Dock", "Mission Control", false, true},
        {"any case", "Dock", "MISSION CONTROL overlay", false, true},
        {"other dock window", "Dock", "Dock", false, false},
        {"other owner", "Finder", "Mission Control", false, false},
        {"names hidden", "Dock", "Mission Control", true, false},
    };
    for (const auto& c : cases) {
        SimDesktop::clear();
        SimDesktop::shared().useLaptop();
        SimDesktop::shared().run(testsupport::appSpec(std::string("test.") + c.owner, c.owner),
                                 {testsupport::windowSpec(c.title, {0, 0, 1440, 900})});
        SimDesktop::shared().setWindowNamesHidden(c.hideNames);
        EXPECT_EQ(StageIntegration::isMissionControlLikelyActive(), c.expected) << c.name;
    }
    SimDesktop::shared().setWindowNamesHidden(false);
    SimDesktop::shared().setWindowListUnavailable(true);
    EXPECT_FALSE(StageIntegration::isMissionControlLikelyActive());
    UserDefaults::standard().set(true, settings::mockMissionControlActive.key);
    EXPECT_TRUE(StageIntegration::isMissionControlLikelyActive());
    SimDesktop::clear();
}

} // namespace
} // namespace tilmora
