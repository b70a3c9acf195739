#include "model/SnapshotDefinition.hpp"
#include "model/SnapshotWindowMapping.hpp"

#include <gtest/gtest.h>

using namespace tilmora;
using platform::Json;

namespace {

SnapshotWindowMapping bare(std::string bundle) {
    return SnapshotWindowMapping{std::move(bundle), {}, {}, {}};
}

SnapshotDefinition definition(std::vector<SnapshotWindowMapping> mappings) {
    return SnapshotDefinition{SnapshotId(*platform::UUID::fromString("01234567-89ab-4def-8123-456789abcdef")),
                              "Morning",
                              platform::Date{1'700'000'000.25},
                              platform::Date{1'700'000'100.5},
                              std::move(mappings),
                              std::nullopt,
                              std::nullopt};
}

} // namespace

TEST(SnapshotWindowMapping, BareMappingWritesOnlyItsBundleIdentifier) {
    const auto mapping = bare("com.example.mail");
    EXPECT_EQ(platform::encodeJsonText(mapping), R"({"bundleIdentifier":"com.example.mail"})");
    EXPECT_EQ(platform::decodeJsonText<SnapshotWindowMapping>(R"({"bundleIdentifier":"com.example.mail"})"),
              mapping);
    EXPECT_EQ(platform::decodeJsonText<SnapshotWindowMapping>(
                  R"({"bundleIdentifier":"com.example.mail","displayId":null,"normalizedFrame":null})"),
              mapping);
    EXPECT_THROW(platform::decodeJsonText<SnapshotWindowMapping>(R"({"windowTitlePattern":"Inbox"})"),
                 platform::Error);
}

TEST(SnapshotDefinition, RoundTripsEveryField) {
    auto full = definition({SnapshotWindowMapping{"", "Inbox", DisplayId("2"), Rect{0.1, 0.2, 0.5, 0.5}},
                            bare("com.example.mail")});
    full.linkedProfileId = ProfileId(platform::UUID());
    full.globalShortcut = "snapshot.morning";
    const Json json = platform::encodeJson(full);
    EXPECT_EQ(platform::decodeJson<SnapshotDefinition>(json), full);

    const Json bareJson = platform::encodeJson(definition({}));
    EXPECT_FALSE(bareJson.contains("linkedProfileId"));
    EXPECT_FALSE(bareJson.contains("globalShortcut"));
    EXPECT_EQ(platform::decodeJson<SnapshotDefinition>(bareJson), definition({}));
}

TEST(SnapshotDefinition, EqualityIsFieldByFieldAndOrdered) {
    const auto base = definition({bare("a"), bare("b")});
    auto later = base;
    later.updatedAt = platform::Date{later.updatedAt.timeIntervalSince1970 + 1};
    auto reordered = definition({bare("b"), bare("a")});
    auto linked = base;
    linked.linkedProfileId = ProfileId(platform::UUID());
    for (const auto& changed : {later, reordered, linked})
        EXPECT_NE(changed, base);
    EXPECT_EQ(definition({bare("a"), bare("b")}), base);
}
