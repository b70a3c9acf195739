#include "snapping/RoriDeru.hpp"

#include "model/Log.hpp"
#include "model/Settings.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "support/PlatformTest.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

namespace tilmora {
namespace {

using platform::PropertyDictionary;
using platform::UserDefaults;

/// Every test starts with empty user defaults and a fresh snap grid (the fixture resets every
/// shared instance).
class SnapSettingsTest : public ::PlatformTest {};

struct GapCase {
    const char* name;
    PropertyDictionary settings;
    SnapIconKind kind;
    Rect expected;
};

/// A gap of 10 with these other settings.
PropertyDictionary gap10(PropertyDictionary others = {}) {
    others[settings::gapSize.key] = 10.0;
    return others;
}

TEST_F(SnapSettingsTest, GapSettingsAreReadOnEveryCall) {
    using enum SnapIconKind;
    const Rect frame{0, 0, 1440, 900};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Halves with a gap of 10 and no screen edges, and the right half without a gap.
    const Rect left{0, 0, 715, 900}, top{0, 455, 1440, 445}, rightWithoutGap{720, 0, 720, 900};
    const auto edges = settings::gapsIncludeScreenEdges.key;
    const GapCase cases[] = {
        {"no settings", {}, leftHalf, {0, 0, 720, 900}},
        {"gap 10", gap10(), leftHalf, left},
        {"gap 10 as integer", {{settings::gapSize.key, 10}}, leftHalf, left},
        {"screen edges", gap10({{edges, true}}), leftHalf, {5, 5, 710, 890}},
        {"top right", gap10(), topRight, {725, 455, 715, 445}},
        {"horizontal 0 overrides",
         gap10({{settings::gapHorizontal.key, 0.0}, {edges, true}}),
         leftHalf,
         {0, 5, 720, 890}},
        {"vertical as text falls back to the gap", gap10({{settings::gapVertical.key, "0"}}), topHalf, top},
        // A gap that is not a usable number is no gap.
        {"horizontal NaN is 0", gap10({{settings::gapHorizontal.key, nan}}), rightHalf, rightWithoutGap},
        {"negative gap", {{settings::gapSize.key, -10.0}}, rightHalf, rightWithoutGap},
        {"gap as text", {{settings::gapSize.key, "10"}}, rightHalf, rightWithoutGap},
        {"gap as a Boolean", {{settings::gapSize.key, true}}, rightHalf, rightWithoutGap},
        {"one edge switch", gap10({{settings::gapsEdgesTop.key, true}}), topHalf, {0, 455, 1440, 440}},
        {"maximize without switch", gap10({{edges, true}}), maximize, frame},
        {"maximize with switch, no edges", gap10({{settings::applyGapsToMaximize.key, true}}), maximize,
         frame},
        {"maximize with switch and edges",
         gap10({{settings::applyGapsToMaximize.key, true}, {edges, true}}),
         maximize,
         {5, 5, 1430, 890}},
        {"grid ignores gaps", gap10({{edges, true}}), grid3x3, frame},
        // The switches count only as stored Booleans: texts and numbers read as absent.
        {"edges as the text YES", gap10({{edges, "YES"}}), leftHalf, left},
        {"edges as the text true", gap10({{edges, "true"}}), leftHalf, left},
        {"edges as the number 1", gap10({{edges, 1}}), leftHalf, left},
        {"one edge switch as the text YES", gap10({{settings::gapsEdgesTop.key, "YES"}}), topHalf, top},
        {"left switch as the number 1", gap10({{settings::gapsEdgesLeft.key, 1.0}}), leftHalf, left},
        {"stored false beside a YES switch",
         gap10({{edges, false}, {settings::gapsEdgesBottom.key, "YES"}}),
         bottomHalf,
         {0, 0, 1440, 445}},
        {"maximize switch as the text YES",
         gap10({{settings::applyGapsToMaximize.key, "YES"}, {edges, true}}), maximize, frame},
    };
    for (const auto& c : cases) {
        platform::SharedInstances::resetAll();
        for (const auto& [key, value] : UserDefaults::standard().dictionaryRepresentation()) {
            UserDefaults::standard().removeObjectForKey(key);
        }
        for (const auto& [key, value] : c.settings)
            UserDefaults::standard().set(value, key);
        EXPECT_EQ(RoriDeru::shared().computeRectForVisible(c.kind, frame), c.expected) << c.name;
    }
}

TEST_F(SnapSettingsTest, RegisteredZeroGapsLeaveThirdsUnrounded) {
    UserDefaults::standard().registerDefaults({{settings::gapSize.key, 0.0},
                                               {settings::gapHorizontal.key, 0.0},
                                               {settings::gapVertical.key, 0.0},
                                               {settings::gapsIncludeScreenEdges.key, false},
                                               {settings::applyGapsToMaximize.key, false}});
    const Rect r = RoriDeru::shared().computeRectForVisible(SnapIconKind::leftThird, {0, 0, 1441, 900});
    EXPECT_DOUBLE_EQ(r.width, 1441.0 / 3);
    EXPECT_EQ(r.x, 0);
    // Registered values count as present: the registered horizontal and vertical 0 override a stored
    // `settings::gapSize`, and only the directions stored themselves take a gap.
    UserDefaults::standard().set(10.0, settings::gapSize.key);
    EXPECT_EQ(RoriDeru::shared().computeRectForVisible(SnapIconKind::topRight, {0, 0, 1440, 900}),
              (Rect{720, 450, 720, 450}));
    UserDefaults::standard().set(10.0, settings::gapVertical.key);
    EXPECT_EQ(RoriDeru::shared().computeRectForVisible(SnapIconKind::topRight, {0, 0, 1440, 900}),
              (Rect{720, 455, 720, 445}));
}

TEST_F(SnapSettingsTest, RegisteredEdgeSwitchesCountAsStoredBooleans) {
    auto& defaults = UserDefaults::standard();
    defaults.set(10.0, settings::gapSize.key);
    defaults.registerDefaults({{settings::gapsIncludeScreenEdges.key, true}});
    EXPECT_EQ(RoriDeru::shared().computeRectForVisible(SnapIconKind::leftHalf, {0, 0, 1440, 900}),
              (Rect{5, 5, 710, 890}));
    // A stored text hides the registered Boolean: the switch reads as absent, so off.
    defaults.set("YES", settings::gapsIncludeScreenEdges.key);
    EXPECT_EQ(RoriDeru::shared().computeRectForVisible(SnapIconKind::leftHalf, {0, 0, 1440, 900}),
              (Rect{0, 0, 715, 900}));
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
        {"2,3,nan,0", {2, 3, 0, 0}},    {"3,2,4.0,nan", {3, 2, 4, 0}},       {"2,3,inf,0", {2, 2, 0, 0}},
    };
    for (const auto& c : cases) {
        UserDefaults::standard().set(c.stored, "WMPreset_9");
        EXPECT_EQ(grid.loadPreset(9), c.expected);
        // A malformed value is left as it was.
        EXPECT_EQ(UserDefaults::standard().objectForKey("WMPreset_9"), c.stored);
    }
    EXPECT_EQ(grid.loadPreset(std::nullopt), GridPreset::fallback());
    EXPECT_EQ(grid.loadPreset(99991), GridPreset::fallback());
    grid.savePreset(RoriDeru::Preset(4, 4, 0, 0), std::nullopt);
    EXPECT_EQ(UserDefaults::standard().dictionaryRepresentation().size(), 2u);
}

std::string logText() {
    const auto path = logFilePath();
    if (!path) return std::string();
    std::ifstream file(*path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST_F(SnapSettingsTest, OnlyAnAbsurdPresetIsLogged) {
    UserDefaults::standard().set("2,3,8.0", "WMPreset_3");
    EXPECT_EQ(RoriDeru::shared().loadPreset(3), GridPreset::fallback());
    EXPECT_EQ(logText(), "");
    UserDefaults::standard().set("100000,100000,0,0", "WMPreset_3");
    // Read on every drag tick, logged once.
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(RoriDeru::shared().loadPreset(3), GridPreset::fallback());
    EXPECT_EQ(logText(),
              "[RoriDeru] Ignoring grid preset \"100000,100000,0,0\": rows and columns must be finite "
              "and at most 64, gutter and padding not infinite; using 2x2\n");
    // A NaN gutter is read as 0 without a word.
    UserDefaults::standard().set("2,3,nan,0", "WMPreset_3");
    EXPECT_EQ(RoriDeru::shared().loadPreset(3), RoriDeru::Preset(2, 3, 0, 0));
    EXPECT_EQ(occurrences(logText(), "Ignoring"), 1u);
}

TEST_F(SnapSettingsTest, AbsurdPresetsFromAnyRouteLayOutAsTheFallbackGrid) {
    const Rect frame{0, 0, 1200, 800};
    const auto fallbackTiles = RoriDeru::shared().tiles(frame, 2, 1, GridPreset::fallback());
    ASSERT_EQ(fallbackTiles.size(), 4u);
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* name;
        RoriDeru::Preset preset;
        const char* logged;
    } cases[] = {
        {"huge rows and cols", RoriDeru::Preset(100000, 100000, 0, 0), "100000x100000 (gutter 0.0)"},
        {"product beyond 64 bits", RoriDeru::Preset(std::int64_t{1} << 40, std::int64_t{1} << 40, 8, 0),
         "1099511627776x1099511627776 (gutter 8.0)"},
        {"65 columns", RoriDeru::Preset(1, 65, 8, 0), "1x65 (gutter 8.0)"},
        {"infinite gutter", RoriDeru::Preset(3, 3, inf, 0), "3x3 (gutter inf)"},
    };
    for (const auto& c : cases) {
        // Laid out three times (as the drag tick does), logged once.
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(RoriDeru::shared().tiles(frame, 2, 1, c.preset), fallbackTiles) << c.name;
        EXPECT_EQ(occurrences(logText(), std::string("[RoriDeru] Ignoring grid layout ") + c.logged +
                                             ": rows and columns must be at most 64 and the gutter finite; "
                                             "using 2x2\n"),
                  1u)
            << c.name;
    }
    const auto metrics = RoriDeru::gridMetrics(frame, 3, 1000000, 10, 1);
    EXPECT_EQ(metrics.colWidths, (std::vector<double>{600, 600}));
    EXPECT_EQ(metrics.rowHeights, (std::vector<double>{400, 400}));
    // The largest sane preset is laid out as asked, without a log line.
    const auto before = logText();
    EXPECT_EQ(RoriDeru::shared().tiles(frame, 2, 1, RoriDeru::Preset(64, 64, 1, 0)).size(), 64u * 64u);
    EXPECT_EQ(logText(), before);
}

} // namespace
} // namespace tilmora
