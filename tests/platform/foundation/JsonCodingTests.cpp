#include "platform/foundation/JsonCoding.hpp"
#include "support/PlatformTest.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using platform::Json;
using platform::JsonReader;
using platform::JsonWriter;

namespace {

/// A small value of its own, coded the way every model value is.
struct Sample {
    std::string name;
    std::int64_t count = 0;
    double ratio = 0;
    std::optional<std::string> note;
    std::vector<platform::UUID> ids;
    bool operator==(const Sample&) const = default;
};

Json toJson(const Sample& s) {
    return JsonWriter()
        .set("name", s.name)
        .set("count", s.count)
        .set("ratio", s.ratio)
        .setOptional("note", s.note)
        .set("ids", s.ids)
        .take();
}

Sample fromJson(const Json& json, std::type_identity<Sample>) {
    JsonReader r(json, "Sample");
    return Sample{r.required<std::string>("name"), r.required<std::int64_t>("count"),
                  r.required<double>("ratio"), r.optional<std::string>("note"),
                  r.required<std::vector<platform::UUID>>("ids")};
}

} // namespace

TEST(JsonCoding, WritesKeysInOrderAndLeavesAbsentOptionalsOut) {
    const auto id = *platform::UUID::fromString("0a1b2c3d-4e5f-6071-8293-a4b5c6d7e8f9");
    const Sample sample{"a/b", 3, 0.5, std::nullopt, {id}};
    EXPECT_EQ(platform::encodeJsonText(sample),
              R"({"name":"a/b","count":3,"ratio":0.5,"ids":["0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9"]})");
    EXPECT_EQ(platform::jsonText(platform::encodeJson(sample), {.prettyPrinted = false, .sortedKeys = true}),
              R"({"count":3,"ids":["0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9"],"name":"a/b","ratio":0.5})");
    EXPECT_EQ(platform::jsonText(Json::parse(R"({"a":[1]})"), {.prettyPrinted = true}),
              "{\n  \"a\": [\n    1\n  ]\n}");
}

TEST(JsonCoding, ReadsKeysInAnyOrderIgnoresUnknownAndNullOptionals) {
    const auto cases = {
        R"({"ids":[],"ratio":1,"count":2,"name":"x"})",
        R"({"name":"x","count":2,"ratio":1.0,"ids":[],"note":null})",
        R"({"extra":{"deep":[1,2]},"name":"x","count":2.0,"ratio":1,"ids":[]})",
    };
    for (const char* text : cases) {
        EXPECT_EQ(platform::decodeJsonText<Sample>(text), (Sample{"x", 2, 1.0, std::nullopt, {}})) << text;
    }
    const auto withNote =
        platform::decodeJsonText<Sample>(R"({"name":"x","count":2,"ratio":1,"ids":[],"note":"n"})");
    EXPECT_EQ(withNote.note, "n");
}

TEST(JsonCoding, FailsTheWholeValueNamingTheKey) {
    struct Case {
        const char* text;
        const char* expectedPart;
    };
    const Case cases[] = {
        {R"({"count":2,"ratio":1,"ids":[]})", R"(cannot decode Sample: key "name" is missing)"},
        {R"({"name":null,"count":2,"ratio":1,"ids":[]})", R"(key "name" is missing)"},
        {R"({"name":1,"count":2,"ratio":1,"ids":[]})", R"(key "name": expected a string)"},
        {R"({"name":"x","count":1.5,"ratio":1,"ids":[]})", R"(key "count": expected an integer)"},
        {R"({"name":"x","count":true,"ratio":1,"ids":[]})", R"(key "count": expected an integer)"},
        {R"({"name":"x","count":"2","ratio":1,"ids":[]})", R"(key "count": expected an integer)"},
        {R"({"name":"x","count":2,"ratio":"1","ids":[]})", R"(key "ratio": expected a number)"},
        {R"({"name":"x","count":2,"ratio":1e400,"ids":[]})", "number overflow"},
        {R"({"name":"x","count":2,"ratio":1,"ids":["nope"]})",
         R"(key "ids": element 0: "nope" is not a UUID)"},
        {R"({"name":"x","count":2,"ratio":1,"ids":{}})", R"(key "ids": expected an array)"},
        {R"({"name":"x","count":2,"ratio":1,"ids":[],"note":3})", R"(key "note": expected a string)"},
        {R"([1,2])", R"(cannot decode Sample: expected an object, found an array)"},
        {R"({"name":"x",)", "malformed JSON text"},
    };
    for (const auto& c : cases) {
        const auto message = platformErrorOf([&] { platform::decodeJsonText<Sample>(c.text); });
        EXPECT_NE(message.find(c.expectedPart), std::string::npos) << c.text << " -> " << message;
    }
}

TEST(JsonCoding, IntegersMustBeIntegralAndInRange) {
    struct Case {
        const char* text;
        std::optional<std::int64_t> int64;
        std::optional<std::uint32_t> uint32;
    };
    const Case cases[] = {
        {"2", 2, 2},
        {"2.0", 2, 2},
        {"1e3", 1000, 1000},
        {"-1", -1, std::nullopt},
        {"1.5", std::nullopt, std::nullopt},
        {"4294967296", 4294967296, std::nullopt},
        {"9223372036854775807", std::numeric_limits<std::int64_t>::max(), std::nullopt},
        {"9223372036854775808", std::nullopt, std::nullopt},
        {"9.3e18", std::nullopt, std::nullopt},
        {"true", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        const Json json = Json::parse(c.text);
        if (c.int64) {
            EXPECT_EQ(platform::decodeJson<std::int64_t>(json), *c.int64) << c.text;
        } else {
            EXPECT_THROW(platform::decodeJson<std::int64_t>(json), platform::Error) << c.text;
        }
        if (c.uint32) {
            EXPECT_EQ(platform::decodeJson<std::uint32_t>(json), *c.uint32) << c.text;
        } else {
            EXPECT_THROW(platform::decodeJson<std::uint32_t>(json), platform::Error) << c.text;
        }
    }
}

TEST(JsonCoding, NonFiniteDoublesCannotBeEncoded) {
    for (double bad :
         {std::nan(""), std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
        Sample sample{"x", 1, bad, std::nullopt, {}};
        const auto message = platformErrorOf([&] { platform::encodeJson(sample); });
        EXPECT_NE(message.find(R"(cannot encode key "ratio")"), std::string::npos) << message;
        EXPECT_THROW(platform::encodeJson(std::vector<double>{1.0, bad}), platform::Error);
    }
}

TEST(JsonCoding, DoublesRoundTripExactly) {
    for (double value : {0.1, 1.0 / 3.0, -1920.0, 5e-324, 1.7976931348623157e308, -0.0}) {
        const auto text = platform::encodeJsonText(value);
        const double back = platform::decodeJsonText<double>(text);
        EXPECT_EQ(back, value) << text;
        EXPECT_EQ(std::signbit(back), std::signbit(value)) << text;
    }
}

TEST(JsonCoding, DatesRoundTripToTheSameInstant) {
    for (double seconds : {0.0, 1'700'000'000.123456789, -0.001, 978'307'200.5}) {
        const platform::Date date{seconds};
        const auto text = platform::encodeJsonText(date);
        EXPECT_EQ(platform::decodeJsonText<platform::Date>(text), date) << text;
    }
    EXPECT_THROW(platform::encodeJson(platform::Date{std::nan("")}), platform::Error);
    EXPECT_THROW(platform::decodeJsonText<platform::Date>(R"("2001-01-01T00:00:00Z")"), platform::Error);
}

TEST(JsonCoding, InvalidUtf8TextIsReportedNotWritten) {
    EXPECT_THROW(platform::jsonText(Json(std::string("\xff\xfe"))), platform::Error);
}
