#include "model/VeskPreset.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>

using namespace tilmora;
using platform::Json;

namespace {

VeskPreset preset(std::string name, std::int64_t sortOrder, std::vector<VeskTile> tiles = {}) {
    return VeskPreset{platform::UUID(), std::move(name), VeskPresetKind::grid, "1",
                      std::move(tiles), sortOrder};
}

VeskTile veskTile(std::string name, Rect rect) {
    return VeskTile{platform::UUID(), std::move(name), rect};
}

} // namespace

TEST(VeskPresetKind, RawValuesAreCaseSensitive) {
    struct Case {
        const char* text;
        std::optional<VeskPresetKind> expected;
    };
    const Case cases[] = {
        {"grid", VeskPresetKind::grid},
        {"singleTile", VeskPresetKind::singleTile},
        {"Grid", std::nullopt},
        {"singletile", std::nullopt},
        {"", std::nullopt},
        {" grid", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(veskPresetKind(c.text), c.expected) << c.text;
        if (c.expected) {
            EXPECT_EQ(platform::decodeJson<VeskPresetKind>(Json(c.text)), *c.expected);
            EXPECT_EQ(rawValue(*c.expected), c.text);
        } else {
            EXPECT_THROW(platform::decodeJson<VeskPresetKind>(Json(c.text)), platform::Error) << c.text;
        }
    }
    EXPECT_THROW(platform::decodeJson<VeskPresetKind>(Json(0)), platform::Error);
}

TEST(VeskTile, RectangleIsCodedAsOriginAndSizePairs) {
    const auto tile = veskTile("Main", Rect{0.05, 0.05, 0.9, 0.9});
    const Json json = platform::encodeJson(tile);
    EXPECT_EQ(json["normalisedRect"], Json::parse("[[0.05,0.05],[0.9,0.9]]"));
    EXPECT_EQ(json["id"], tile.id.uuidString());
    EXPECT_EQ(platform::jsonText(json).substr(0, 6), R"({"id":)");
    EXPECT_EQ(platform::decodeJson<VeskTile>(json), tile);

    for (const char* bad : {"[[0.1,0.2],[0.3]]", "[[0.1,0.2]]", R"({"x":0,"y":0,"width":1,"height":1})",
                            R"([[0.1,"a"],[0.3,0.4]])"}) {
        Json broken = json;
        broken["normalisedRect"] = Json::parse(bad);
        EXPECT_THROW(platform::decodeJson<VeskTile>(broken), platform::Error) << bad;
    }
    EXPECT_THROW(platform::encodeJson(veskTile("Bad", Rect{NAN, 0, 1, 1})), platform::Error);
}

TEST(VeskPreset, CodedFormRequiresEveryKey) {
    const auto original =
        preset("Thirds", 3, {veskTile("A", {0, 0, 1.0 / 3, 1}), veskTile("B", {1.0 / 3, 0, 1.0 / 3, 1})});
    const Json json = platform::encodeJson(original);
    std::vector<std::string> keys;
    for (const auto& [key, value] : json.items())
        keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"id", "name", "kind", "displayId", "tiles", "sortOrder"}));
    EXPECT_EQ(platform::decodeJson<VeskPreset>(json), original);

    Json withExtra = json;
    withExtra["rows"] = 2;
    EXPECT_EQ(platform::decodeJson<VeskPreset>(withExtra), original);

    for (const auto& key : keys) {
        Json missing = json;
        missing.erase(key);
        EXPECT_THROW(platform::decodeJson<VeskPreset>(missing), platform::Error) << key;
    }
    Json fractionalOrder = json;
    fractionalOrder["sortOrder"] = 1.5;
    EXPECT_THROW(platform::decodeJson<VeskPreset>(fractionalOrder), platform::Error);
    Json capitalKind = json;
    capitalKind["kind"] = "Grid";
    EXPECT_THROW(platform::decodeJson<VeskPreset>(capitalKind), platform::Error);
}

TEST(VeskPreset, EqualityComparesSortOrderAndTileOrder) {
    const auto base = preset("P", 0, {veskTile("A", {0, 0, 0.5, 1}), veskTile("B", {0.5, 0, 0.5, 1})});
    auto reordered = base;
    reordered.sortOrder = 1;
    auto swapped = base;
    std::swap(swapped.tiles[0], swapped.tiles[1]);
    EXPECT_NE(reordered, base);
    EXPECT_NE(swapped, base);
    EXPECT_EQ(VeskPreset(base), base);
}

TEST(VeskPreset, SortingIsStableBySortOrder) {
    struct Case {
        std::vector<std::int64_t> orders;
        std::string expected;
    };
    const Case cases[] = {
        {{0, 0, 2, 1}, "ABDC"}, {{1, 0}, "BA"}, {{5, 5, 5}, "ABC"}, {{-1, 3, -2, 0}, "CADB"}, {{}, ""},
    };
    for (const auto& c : cases) {
        std::vector<VeskPreset> presets;
        for (std::size_t i = 0; i < c.orders.size(); ++i)
            presets.push_back(preset(std::string(1, char('A' + i)), c.orders[i]));
        std::string names;
        for (const auto& p : sortedBySortOrder(presets))
            names += p.name;
        EXPECT_EQ(names, c.expected);
    }
}

TEST(VeskPreset, NextSortOrderFollowsTheLargest) {
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    struct Case {
        std::vector<std::int64_t> orders;
        std::int64_t expected;
    };
    const Case cases[] = {
        {{}, 1}, {{0, 0, 0}, 1}, {{0, 2, 1}, 3}, {{-5, -3}, -2}, {{7, kMax, 3}, kMax},
    };
    for (const auto& c : cases) {
        std::vector<VeskPreset> presets;
        for (auto order : c.orders)
            presets.push_back(preset("P", order));
        EXPECT_EQ(nextSortOrder(presets), c.expected) << c.orders.size();
    }
}
