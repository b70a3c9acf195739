#include "model/Settings.hpp"

#include "platform/foundation/UserDefaults.hpp"
#include "support/PlatformTest.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <utility>
#include <set>
#include <string>

namespace tilmora {
namespace {

using SettingsTest = PlatformTest;

TEST_F(SettingsTest, CatalogKeysAreUniqueAndTheirRegisteredValuesAreThe38OfTheLaunch) {
    std::set<std::string> keys{settings::presetPrefix, settings::veskSelectedPresetIdPrefix};
    for (const auto& setting : settings::catalog)
        EXPECT_TRUE(keys.insert(setting.key).second) << setting.key;
    const auto registered = settings::registeredDefaults();
    EXPECT_EQ(registered.size(), 38u);
    EXPECT_EQ(registered.at(settings::verboseLogging.key), platform::PropertyValue(true));
    EXPECT_TRUE(registered.at(settings::stageReserveLeftWidth.key).isDouble());
    EXPECT_EQ(registered.count(settings::strictRestore.key), 0u);
}

// Only a Boolean counts, whether stored or registered; anything else reads as nothing.
TEST_F(SettingsTest, StoredBoolCountsOnlyABoolean) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.registerDefaults({{"registered", false}});
    defaults.set(true, "true");
    defaults.set(1.0, "number");
    defaults.set("YES", "text");
    struct Case {
        const char* key;
        std::optional<bool> expected;
    };
    for (const Case& c : {Case{"true", true}, Case{"registered", false}, Case{"number", std::nullopt},
                          Case{"text", std::nullopt}, Case{"absent", std::nullopt}}) {
        EXPECT_EQ(settings::storedBool(c.key), c.expected) << c.key;
    }
}

// Each kind's reader takes a stored (or registered) value of its kind, else the setting's fallback.
TEST_F(SettingsTest, ReadersTakeAValueOfTheirKindElseTheFallback) {
    auto& defaults = platform::UserDefaults::standard();
    using platform::PropertyValue;
    struct Case {
        const char* what;
        std::optional<PropertyValue> stored;
        bool flag;       // read(settings::dragAssumeTileSize), fallback true
        double number;   // read(settings::snapshotRestoreLaunchMaxWait), fallback 6
        std::string text; // read(settings::capturePrimaryRule), fallback "center"
        double reserve;  // read(settings::stageReserveLeftWidth): a Boolean cast to 1 or 0, fallback 0
    };
    const Case cases[] = {
        {"nothing", std::nullopt, true, 6, "center", 0},
        {"false", PropertyValue(false), false, 6, "0", 0},
        {"true", PropertyValue(true), true, 6, "1", 1},
        {"an integer", PropertyValue(std::int64_t{3}), true, 3, "3", 3},
        {"a Double", PropertyValue(2.5), true, 2.5, "2.5", 2.5},
        {"a text", PropertyValue(std::string("overlap")), true, 6, "overlap", 0},
        {"the text NO", PropertyValue(std::string("NO")), true, 6, "NO", 0},
    };
    for (const auto& c : cases) {
        for (const char* key : {settings::dragAssumeTileSize.key, settings::snapshotRestoreLaunchMaxWait.key,
                                settings::capturePrimaryRule.key, settings::stageReserveLeftWidth.key}) {
            if (c.stored) {
                defaults.set(*c.stored, key);
            } else {
                defaults.removeObjectForKey(key);
            }
        }
        EXPECT_EQ(settings::read(settings::dragAssumeTileSize), c.flag) << c.what;
        EXPECT_EQ(settings::read(settings::snapshotRestoreLaunchMaxWait), c.number) << c.what;
        EXPECT_EQ(settings::read(defaults, settings::capturePrimaryRule), c.text) << c.what;
        EXPECT_EQ(settings::read(settings::stageReserveLeftWidth), c.reserve) << c.what;
    }
    // A registered value counts as stored.
    defaults.registerDefaults(settings::registeredDefaults());
    EXPECT_TRUE(settings::read(settings::verboseLogging));
    EXPECT_FALSE(settings::read(settings::liveResizeDuringDrag));
}

// The settings whose readers' fallback differs from the value the launch registers.
TEST_F(SettingsTest, FallbacksThatDifferFromTheRegisteredValues) {
    const std::pair<settings::BoolSetting, bool> cases[] = {{settings::verboseLogging, false},
                                                             {settings::liveResizeDuringDrag, true},
                                                             {settings::showGridLinesDuringDrag, false},
                                                             {settings::autoApplyDisplayLayouts, true},
                                                             {settings::launchAtLogin, false}};
    for (const auto& [setting, fallback] : cases) {
        EXPECT_EQ(settings::read(setting), fallback) << setting.key;
        EXPECT_EQ(setting.registered, !fallback) << setting.key;
    }
}

} // namespace
} // namespace tilmora
