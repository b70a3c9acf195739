#include "model/Settings.hpp"

#include "platform/foundation/UserDefaults.hpp"
#include "support/PlatformTest.hpp"

#include <gtest/gtest.h>

#include <optional>
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

} // namespace
} // namespace tilmora
