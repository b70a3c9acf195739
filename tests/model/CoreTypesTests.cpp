#include "model/DisplayDescriptor.hpp"
#include "model/LayoutId.hpp"
#include "model/ProfileId.hpp"
#include "model/Rect.hpp"
#include "model/SnapshotId.hpp"
#include "model/TileId.hpp"
#include "model/WindowDescriptor.hpp"
#include "model/WindowId.hpp"
#include "support/PlatformTest.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <unordered_set>

using namespace tilmora;
using platform::Json;

namespace {

WindowDescriptor sampleWindow(std::optional<DisplayId> display) {
    return WindowDescriptor{WindowId("812-Notes"),
                            "com.example.notes",
                            "Notes",
                            std::move(display),
                            Rect{10, 20, 300, 400},
                            false,
                            false};
}

} // namespace

TEST(Identifiers, TextLiteralsEqualExplicitValuesAndHashAlike) {
    const WindowId literal = "123";
    const WindowId built("123");
    EXPECT_EQ(literal, built);
    EXPECT_EQ(std::hash<WindowId>{}(literal), std::hash<WindowId>{}(built));
    EXPECT_NE(WindowId("123"), WindowId("0123"));

    std::unordered_set<DisplayId> displays{"1", "2", DisplayId("1")};
    EXPECT_EQ(displays.size(), 2u);
}

TEST(Identifiers, CanonicallyEquivalentTextsAreOneKey) {
    const std::string composed = "Caf\xC3\xA9-0.0-0.0";    // U+00E9
    const std::string decomposed = "Cafe\xCC\x81-0.0-0.0"; // "e" + U+0301
    struct Case {
        std::string a, b;
        bool equal;
    };
    const Case cases[] = {
        {composed, decomposed, true},
        {"\xE2\x84\xAB", "\xC3\x85", true}, // ANGSTROM SIGN and A with ring
        {composed, "Cafe-0.0-0.0", false},
        {composed, "CAF\xC3\x89-0.0-0.0", false}, // case counts
        {"1", "1", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a + " / " + c.b);
        EXPECT_EQ(DisplayId(c.a) == DisplayId(c.b), c.equal);
        EXPECT_EQ(WindowId(c.a) == WindowId(c.b), c.equal);
        EXPECT_EQ((DisplayId(c.a) <=> DisplayId(c.b)) == 0, c.equal);
        if (c.equal) {
            EXPECT_EQ(std::hash<DisplayId>{}(DisplayId(c.a)), std::hash<DisplayId>{}(DisplayId(c.b)));
        }
    }
    std::unordered_set<DisplayId> hashed{DisplayId(composed), DisplayId(decomposed)};
    EXPECT_EQ(hashed.size(), 1u);
    std::map<DisplayId, int> ordered{{DisplayId(composed), 1}};
    ordered[DisplayId(decomposed)] = 2;
    ASSERT_EQ(ordered.size(), 1u);
    EXPECT_EQ(ordered.begin()->second, 2);
    // The held text is kept as given, and written so.
    EXPECT_EQ(DisplayId(decomposed).rawValue, decomposed);
}

TEST(Identifiers, TextIdentifiersOrderByCanonicalScalarValues) {
    const std::pair<std::string, std::string> lessThan[] = {
        {"10", "2"},
        {"9", "Panel-0.0-0.0"},
        {"Z", "a"},
        {"Caff", "Cafe\xCC\x81"}, // "e" + accent orders as U+00E9, after "f"
    };
    for (const auto& [a, b] : lessThan) {
        SCOPED_TRACE(a + " < " + b);
        EXPECT_LT(DisplayId(a), DisplayId(b));
        EXPECT_GT(DisplayId(b), DisplayId(a));
    }
}

TEST(Identifiers, TextIdentifiersAreWrittenAsObjects) {
    EXPECT_EQ(platform::encodeJsonText(DisplayId("Panel--20.0-0.0")), R"({"rawValue":"Panel--20.0-0.0"})");
    EXPECT_EQ(platform::decodeJsonText<WindowId>(R"({"other":1,"rawValue":"7"})"), WindowId("7"));
    for (const char* bad : {R"("7")", R"({"rawValue":7})", R"({})", R"({"rawValue":null})"}) {
        EXPECT_THROW(platform::decodeJsonText<DisplayId>(bad), platform::Error) << bad;
    }
}

TEST(Identifiers, UuidIdentifiersWriteUpperCaseAndReadEitherCase) {
    const auto fromLower =
        platform::decodeJsonText<LayoutId>(R"({"rawValue":"6ba7b810-9dad-11d1-80b4-00c04fd430c8"})");
    const auto text = platform::encodeJsonText(fromLower);
    EXPECT_EQ(text, R"({"rawValue":"6BA7B810-9DAD-11D1-80B4-00C04FD430C8"})");
    EXPECT_EQ(platform::decodeJsonText<LayoutId>(text), fromLower);

    const ProfileId fresh{platform::UUID()};
    EXPECT_EQ(platform::decodeJson<ProfileId>(platform::encodeJson(fresh)), fresh);
    EXPECT_EQ(std::hash<ProfileId>{}(fresh), std::hash<platform::UUID>{}(fresh.rawValue));

    const auto message =
        platformErrorOf([] { platform::decodeJsonText<SnapshotId>(R"({"rawValue":"not-a-uuid"})"); });
    EXPECT_NE(message.find("cannot decode SnapshotId"), std::string::npos) << message;
    EXPECT_THROW(platform::decodeJsonText<TileId>(R"({"rawValue":""})"), platform::Error);
}

TEST(Rect, CodingRules) {
    struct Case {
        const char* text;
        std::optional<Rect> expected;
    };
    const Case cases[] = {
        {R"({"x":1,"y":2,"width":3,"height":4})", Rect{1, 2, 3, 4}},
        {R"({"height":4,"width":3,"y":2,"x":1})", Rect{1, 2, 3, 4}},
        {R"({"x":1,"y":2,"width":3,"height":4,"z":9})", Rect{1, 2, 3, 4}},
        {R"({"x":-0.5,"y":1e-3,"width":-3,"height":0})", Rect{-0.5, 0.001, -3, 0}},
        {R"({"x":1,"y":2,"width":3})", std::nullopt},
        {R"({"x":1,"y":2,"width":3,"height":null})", std::nullopt},
        {R"({"x":1,"y":2,"width":3,"height":"4"})", std::nullopt},
        {R"([1,2,3,4])", std::nullopt},
    };
    for (const auto& c : cases) {
        if (c.expected) {
            EXPECT_EQ(platform::decodeJsonText<Rect>(c.text), *c.expected) << c.text;
        } else {
            EXPECT_THROW(platform::decodeJsonText<Rect>(c.text), platform::Error) << c.text;
        }
    }
    const auto message =
        platformErrorOf([] { platform::decodeJsonText<Rect>(R"({"x":1,"y":2,"width":3})"); });
    EXPECT_EQ(message, R"(cannot decode Rect: key "height" is missing)");
}

TEST(Rect, NonFiniteFieldsCannotBeEncoded) {
    for (Rect rect : {Rect{NAN, 0, 1, 1}, Rect{0, 0, INFINITY, 1}, Rect{0, 0, 1, -INFINITY}}) {
        EXPECT_THROW(platform::encodeJson(rect), platform::Error);
    }
    const DisplayDescriptor display{"1", "Built-in", Rect{0, 0, NAN, 800}, 2.0};
    try {
        platform::encodeJson(display);
        ADD_FAILURE() << "encoding a NaN succeeded";
    } catch (const platform::Error& e) {
        EXPECT_NE(std::string(e.what()).find(R"(key "bounds")"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find(R"(key "width")"), std::string::npos) << e.what();
    }
}

TEST(Rect, EqualityIsIeee) {
    EXPECT_EQ((Rect{0.0, 0, 1, 1}), (Rect{-0.0, 0, 1, 1}));
    const DisplayDescriptor withNaN{"1", "Built-in", Rect{0, 0, NAN, 800}, 2.0};
    const DisplayDescriptor copy = withNaN;
    EXPECT_FALSE(withNaN == copy);
}

TEST(DisplayDescriptor, RoundTripsWithNestedObjects) {
    const DisplayDescriptor display{"Panel-0.0-0.0", "Panel", Rect{0, 25, 1440, 875}, 2.0};
    const Json json = platform::encodeJson(display);
    EXPECT_EQ(json["id"], Json::parse(R"({"rawValue":"Panel-0.0-0.0"})"));
    EXPECT_EQ(json["bounds"]["height"], 875.0);
    EXPECT_EQ(platform::decodeJson<DisplayDescriptor>(json), display);
}

TEST(WindowDescriptor, AbsentDisplayIsLeftOutAndNullReadsAsAbsent) {
    const Json withoutDisplay = platform::encodeJson(sampleWindow(std::nullopt));
    EXPECT_FALSE(withoutDisplay.contains("currentDisplayId"));
    EXPECT_EQ(platform::decodeJson<WindowDescriptor>(withoutDisplay), sampleWindow(std::nullopt));

    Json withNull = withoutDisplay;
    withNull["currentDisplayId"] = nullptr;
    EXPECT_EQ(platform::decodeJson<WindowDescriptor>(withNull).currentDisplayId, std::nullopt);

    const auto withDisplay = sampleWindow(DisplayId("2"));
    const Json json = platform::encodeJson(withDisplay);
    EXPECT_EQ(json["currentDisplayId"]["rawValue"], "2");
    EXPECT_EQ(platform::decodeJson<WindowDescriptor>(json), withDisplay);
    EXPECT_NE(withDisplay, sampleWindow(std::nullopt));

    Json badDisplay = withoutDisplay;
    badDisplay["currentDisplayId"] = "2"; // a bare string is no identifier
    EXPECT_THROW(platform::decodeJson<WindowDescriptor>(badDisplay), platform::Error);
    Json badFlag = withoutDisplay;
    badFlag["isMinimized"] = 0;
    EXPECT_THROW(platform::decodeJson<WindowDescriptor>(badFlag), platform::Error);
}
