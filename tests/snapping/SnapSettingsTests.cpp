#include "snapping/RoriDeru.hpp"

#include "model/Log.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "support/FoundationSandbox.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

namespace tilmora {
namespace {

using platform::PropertyDictionary;
using platform::UserDefaults;

/// Every test starts with empty user defaults and a fresh snap grid.
class SnapSettingsTest : public testsupport::FoundationSandbox {
protected:
    void SetUp() override {
        FoundationSandbox::SetUp();
        RoriDeru::resetShared();
    }
    void TearDown() override {
        RoriDeru::resetShared();
        FoundationSandbox::TearDown();
    }
};

struct GapCase {
    const char* name;
    PropertyDictionary settings;
    SnapIconKind kind;
    Rect expected;
};

TEST_F(SnapSettingsTest, GapSettingsAreReadOnEveryCall) {
    const Rect frame{0, 0, 1440, 900};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const GapCase cases[] = {
        {"no settings", {}, SnapIconKind::leftHalf, {0, 0, 720, 900}},
        {"gap 10", {{"WMGapSize", 10.0}}, SnapIconKind::leftHalf, {0, 0, 715, 900}},
        {"gap 10 as integer", {{"WMGapSize", 10}}, SnapIconKind::leftHalf, {0, 0, 715, 900}},
        {"screen edges",
         {{"WMGapSize", 10.0}, {"WMGapsIncludeScreenEdges", true}},
         SnapIconKind::leftHalf,
         {5, 5, 710, 890}},
        {"top right", {{"WMGapSize", 10.0}}, SnapIconKind::topRight, {725, 455, 715, 445}},
        {"horizontal 0 overrides",
         {{"WMGapSize", 10.0}, {"WMGapHorizontal", 0.0}, {"WMGapsIncludeScreenEdges", true}},
         SnapIconKind::leftHalf,
         {0, 5, 720, 890}},
        {"vertical as text falls back to the gap",
         {{"WMGapSize", 10.0}, {"WMGapVertical", "0"}},
         SnapIconKind::topHalf,
         {0, 455, 1440, 445}},
        {"horizontal NaN is 0",
         {{"WMGapSize", 10.0}, {"WMGapHorizontal", nan}},
         SnapIconKind::rightHalf,
         {720, 0, 720, 900}},
        {"negative gap", {{"WMGapSize", -10.0}}, SnapIconKind::rightHalf, {720, 0, 720, 900}},
        {"gap as text", {{"WMGapSize", "10"}}, SnapIconKind::rightHalf, {720, 0, 720, 900}},
        {"one edge switch",
         {{"WMGapSize", 10.0}, {"WMGapsEdgesTop", true}},
         SnapIconKind::topHalf,
         {0, 455, 1440, 440}},
        {"maximize without switch",
         {{"WMGapSize", 10.0}, {"WMGapsIncludeScreenEdges", true}},
         SnapIconKind::maximize,
         frame},
        {"maximize with switch, no edges",
         {{"WMGapSize", 10.0}, {"WMApplyGapsToMaximize", true}},
         SnapIconKind::maximize,
         frame},
        {"maximize with switch and edges",
         {{"WMGapSize", 10.0}, {"WMApplyGapsToMaximize", true}, {"WMGapsIncludeScreenEdges", true}},
         SnapIconKind::maximize,
         {5, 5, 1430, 890}},
        {"grid ignores gaps",
         {{"WMGapSize", 10.0}, {"WMGapsIncludeScreenEdges", true}},
         SnapIconKind::grid3x3,
         frame},
    };
    for (const auto& c : cases) {
        UserDefaults::resetForTesting();
        for (const auto& [key, value] : UserDefaults::standard().dictionaryRepresentation()) {
            UserDefaults::standard().removeObjectForKey(key);
        }
        for (const auto& [key, value] : c.settings)
            UserDefaults::standard().set(value, key);
        EXPECT_EQ(RoriDeru::shared().computeRectForVisible(c.kind, frame), c.expected) << c.name;
    }
}

TEST_F(SnapSettingsTest, RegisteredZeroGapsLeaveThirdsUnrounded) {
    UserDefaults::standard().registerDefaults({{"WMGapSize", 0.0},
                                               {"WMGapHorizontal", 0.0},
                                               {"WMGapVertical", 0.0},
                                               {"WMGapsIncludeScreenEdges", false},
                                               {"WMApplyGapsToMaximize", false}});
    const Rect r = RoriDeru::shared().computeRectForVisible(SnapIconKind::leftThird, {0, 0, 1441, 900});
    EXPECT_DOUBLE_EQ(r.width, 1441.0 / 3);
    EXPECT_EQ(r.x, 0);
}

TEST_F(SnapSettingsTest, PresetsAreStoredUnderTheDisplayNumber) {
    auto& grid = RoriDeru::shared();
    grid.savePreset(RoriDeru::Preset(2, 3, 8, 0), 7);
    EXPECT_EQ(UserDefaults::standard().stringForKey("WMPreset_7"), "2,3,8.0,0.0");
    EXPECT_EQ(grid.loadPreset(7), RoriDeru::Preset(2, 3, 8, 0));

    struct Case {
        platform::PropertyValue stored;
        RoriDeru::Preset expected;
    };
    const Case cases[] = {
        {"0,-3,-1,5", {1, 1, 0, 5}},    {"2,x,3,8.0,0.0", {2, 3, 8, 0}},     {"2,3,8.0", {2, 2, 0, 0}},
        {"2, 3,8.0,0.0", {2, 2, 0, 0}}, {"100000,100000,0,0", {2, 2, 0, 0}}, {5, {2, 2, 0, 0}},
    };
    for (const auto& c : cases) {
        UserDefaults::standard().set(c.stored, "WMPreset_9");
        EXPECT_EQ(grid.loadPreset(9), c.expected);
        // A malformed value is left as it was.
        EXPECT_EQ(UserDefaults::standard().objectForKey("WMPreset_9"), c.stored);
    }
    EXPECT_EQ(grid.loadPreset(std::nullopt), RoriDeru::fallbackPreset());
    EXPECT_EQ(grid.loadPreset(99991), RoriDeru::fallbackPreset());
    grid.savePreset(RoriDeru::Preset(4, 4, 0, 0), std::nullopt);
    EXPECT_EQ(UserDefaults::standard().dictionaryRepresentation().size(), 2u);
}

TEST_F(SnapSettingsTest, OnlyAnAbsurdPresetIsLogged) {
    const auto logText = [] {
        const auto path = logFilePath();
        if (!path) return std::string();
        std::ifstream file(*path);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    };
    UserDefaults::standard().set("2,3,8.0", "WMPreset_3");
    EXPECT_EQ(RoriDeru::shared().loadPreset(3), RoriDeru::fallbackPreset());
    EXPECT_EQ(logText(), "");
    UserDefaults::standard().set("100000,100000,0,0", "WMPreset_3");
    EXPECT_EQ(RoriDeru::shared().loadPreset(3), RoriDeru::fallbackPreset());
    EXPECT_NE(logText().find("[RoriDeru] Ignoring grid preset \"100000,100000,0,0\""), std::string::npos);
}

} // namespace
} // namespace tilmora
