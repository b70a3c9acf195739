#include "model/LayoutProfile.hpp"
#include "model/MonitorConfigurationSignature.hpp"

#include <gtest/gtest.h>

using namespace tilmora;
using platform::Json;

namespace {

std::vector<std::string> rawValues(const MonitorConfigurationSignature& signature) {
    std::vector<std::string> values;
    for (const auto& id : signature.displayIds)
        values.push_back(id.rawValue);
    return values;
}

LayoutId layoutId(const char* text) {
    return LayoutId(*platform::UUID::fromString(text));
}

const char* const kLayoutA = "AAAAAAAA-0000-4000-8000-000000000001";
const char* const kLayoutB = "BBBBBBBB-0000-4000-8000-000000000002";

std::string profileText(const std::string& layoutsArray) {
    return R"({"id":{"rawValue":"11111111-2222-4333-8444-555555555555"},"name":"Desk",)"
           R"("configuration":{"displayIds":[{"rawValue":"1"},{"rawValue":"2"}]},"layouts":)" +
           layoutsArray + "}";
}

std::string pair(const char* display, const char* layout) {
    return std::string(R"({"rawValue":")") + display + R"("},{"rawValue":")" + layout + R"("})";
}

} // namespace

TEST(MonitorConfigurationSignature, SortsAsTextOnConstruction) {
    struct Case {
        std::vector<DisplayId> input;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {{"2", "10", "1"}, {"1", "10", "2"}},
        {{"Panel-0.0-0.0", "3"}, {"3", "Panel-0.0-0.0"}},
        {{"2", "1", "2"}, {"1", "2", "2"}},
        {{}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rawValues(MonitorConfigurationSignature(c.input)), c.expected);
}

TEST(MonitorConfigurationSignature, EqualityAndHashFollowTheList) {
    const MonitorConfigurationSignature a({"1", "2"});
    const MonitorConfigurationSignature b({"2", "1"});
    const MonitorConfigurationSignature repeated({"1", "1", "2"});
    EXPECT_EQ(a, b);
    EXPECT_EQ(std::hash<MonitorConfigurationSignature>{}(a), std::hash<MonitorConfigurationSignature>{}(b));
    EXPECT_NE(a, repeated);
    EXPECT_NE(b, repeated);

    // A display key written composed or decomposed is the same display.
    const MonitorConfigurationSignature composed({"Caf\xC3\xA9-0.0-0.0", "Caff-0.0-0.0"});
    const MonitorConfigurationSignature decomposed({"Caff-0.0-0.0", "Cafe\xCC\x81-0.0-0.0"});
    EXPECT_EQ(composed, decomposed);
    EXPECT_EQ(std::hash<MonitorConfigurationSignature>{}(composed),
              std::hash<MonitorConfigurationSignature>{}(decomposed));
}

TEST(MonitorConfigurationSignature, DecodedKeepsStoredOrder) {
    const auto stored = platform::decodeJsonText<MonitorConfigurationSignature>(
        R"({"displayIds":[{"rawValue":"2"},{"rawValue":"1"}]})");
    EXPECT_EQ(rawValues(stored), (std::vector<std::string>{"2", "1"}));
    EXPECT_NE(stored, MonitorConfigurationSignature({"2", "1"}));
    EXPECT_EQ(platform::encodeJsonText(stored), R"({"displayIds":[{"rawValue":"2"},{"rawValue":"1"}]})");
    EXPECT_THROW(platform::decodeJsonText<MonitorConfigurationSignature>(R"({"displayIds":["1"]})"),
                 platform::Error);
}

TEST(LayoutProfile, LayoutsAreAFlatAlternatingArray) {
    const LayoutProfile profile{ProfileId(platform::UUID()),
                                "Desk",
                                MonitorConfigurationSignature({"2", "1"}),
                                {{DisplayId("1"), layoutId(kLayoutA)}, {DisplayId("2"), layoutId(kLayoutB)}}};
    const Json json = platform::encodeJson(profile);
    const Json& layouts = json["layouts"];
    ASSERT_TRUE(layouts.is_array());
    ASSERT_EQ(layouts.size(), 4u);
    for (std::size_t i = 0; i < layouts.size(); i += 2) {
        const auto display = platform::decodeJson<DisplayId>(layouts[i]);
        EXPECT_EQ(platform::decodeJson<LayoutId>(layouts[i + 1]), profile.layouts.at(display));
    }
    EXPECT_EQ(platform::decodeJson<LayoutProfile>(json), profile);

    // The pairs may come back in another order.
    Json swapped = json;
    swapped["layouts"] = Json::array({layouts[2], layouts[3], layouts[0], layouts[1]});
    EXPECT_EQ(platform::decodeJson<LayoutProfile>(swapped), profile);
}

TEST(LayoutProfile, ReadingTheLayoutsArray) {
    struct Case {
        std::string layouts;
        std::optional<std::map<DisplayId, LayoutId>> expected;
    };
    const Case cases[] = {
        {"[]", std::map<DisplayId, LayoutId>{}},
        {"[" + pair("1", kLayoutA) + "]", std::map<DisplayId, LayoutId>{{"1", layoutId(kLayoutA)}}},
        {"[" + pair("1", kLayoutA) + "," + pair("1", kLayoutB) + "]",
         std::map<DisplayId, LayoutId>{{"1", layoutId(kLayoutB)}}},                 // later pair wins
        {"[" + pair("1", kLayoutA) + R"(,{"rawValue":"2"}])", std::nullopt},        // odd length
        {R"([{"rawValue":"1"}])", std::nullopt},                                    // odd length
        {"[" + pair("1", "not-a-uuid") + "]", std::nullopt},                        // bad value
        {std::string(R"(["1",{"rawValue":")") + kLayoutA + R"("}])", std::nullopt}, // bad key
        {"{}", std::nullopt},                                                       // not an array
        {"null", std::nullopt},                                                     // required
    };
    for (const auto& c : cases) {
        const auto text = profileText(c.layouts);
        if (c.expected) {
            EXPECT_EQ(platform::decodeJsonText<LayoutProfile>(text).layouts, *c.expected) << c.layouts;
        } else {
            EXPECT_THROW(platform::decodeJsonText<LayoutProfile>(text), platform::Error) << c.layouts;
        }
    }
}

TEST(LayoutProfile, EqualityComparesEveryField) {
    const LayoutProfile base{ProfileId(platform::UUID()),
                             "Desk",
                             MonitorConfigurationSignature({"1"}),
                             {{DisplayId("1"), layoutId(kLayoutA)}}};
    LayoutProfile renamed = base;
    renamed.name = "Desk 2";
    LayoutProfile otherLayout = base;
    otherLayout.layouts.insert_or_assign(DisplayId("1"), layoutId(kLayoutB));
    LayoutProfile otherConfiguration = base;
    otherConfiguration.configuration = MonitorConfigurationSignature({"1", "2"});
    for (const auto& changed : {renamed, otherLayout, otherConfiguration})
        EXPECT_NE(changed, base);
}
