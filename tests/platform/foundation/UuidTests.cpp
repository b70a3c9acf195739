#include "platform/foundation/Uuid.hpp"

#include <gtest/gtest.h>

#include <set>
#include <unordered_set>

using platform::UUID;

TEST(Uuid, RandomIdentifiersAreVersion4AndDistinct) {
    std::set<UUID> seen;
    for (int i = 0; i < 100; ++i) {
        const UUID uuid;
        EXPECT_EQ(uuid.bytes()[6] >> 4, 4) << uuid.uuidString();
        EXPECT_EQ(uuid.bytes()[8] & 0xC0, 0x80) << uuid.uuidString();
        seen.insert(uuid);
    }
    EXPECT_EQ(seen.size(), 100u);
}

TEST(Uuid, TextIsUpperCaseAndReadsBackInEitherCase) {
    const auto lower = UUID::fromString("0a1b2c3d-4e5f-6071-8293-a4b5c6d7e8f9");
    ASSERT_TRUE(lower.has_value());
    EXPECT_EQ(lower->uuidString(), "0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9");
    const auto upper = UUID::fromString("0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9");
    ASSERT_TRUE(upper.has_value());
    EXPECT_EQ(*lower, *upper);
    EXPECT_EQ(std::hash<UUID>{}(*lower), std::hash<UUID>{}(*upper));
    EXPECT_EQ(lower->bytes()[0], 0x0A);
    EXPECT_EQ(lower->bytes()[15], 0xF9);

    const UUID fresh;
    EXPECT_EQ(UUID::fromString(fresh.uuidString()), fresh);
}

TEST(Uuid, RejectsMalformedText) {
    const char* cases[] = {
        "",
        "0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F",   // one digit short
        "0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F90", // one digit long
        "0A1B2C3D4E5F-6071-8293-A4B5C6D7E8F9-",  // dash misplaced
        "0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8FG",  // not hexadecimal
        " 0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F",  // leading blank
        "0A1B2C3D 4E5F 6071 8293 A4B5C6D7E8F9",  // blanks for dashes
        "{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F}", // braces
        "0A1B2C3D0-4E5F-6071-8293-A4B5C6D7E8F",  // digit where a dash belongs
    };
    for (const char* text : cases)
        EXPECT_FALSE(UUID::fromString(text).has_value()) << text;
}

TEST(Uuid, OrdersAndHashesByBytes) {
    const auto a = *UUID::fromString("00000000-0000-0000-0000-000000000001");
    const auto b = *UUID::fromString("00000000-0000-0000-0000-000000000002");
    const auto c = *UUID::fromString("10000000-0000-0000-0000-000000000000");
    EXPECT_LT(a, b);
    EXPECT_LT(b, c);
    EXPECT_NE(a, b);
    std::unordered_set<UUID> set{a, b, c, a};
    EXPECT_EQ(set.size(), 3u);
}
