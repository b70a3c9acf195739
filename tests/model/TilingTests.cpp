#include "model/Layout.hpp"
#include "model/Tile.hpp"

#include <gtest/gtest.h>

using namespace tilmora;
using platform::Json;

namespace {

Tile tile(Rect frame, std::optional<std::string> label = std::nullopt) {
    return Tile{TileId(platform::UUID()), DisplayId("1"), frame, std::move(label)};
}

} // namespace

TEST(Tile, AbsoluteRectKeepsTheTileInsideTheDisplay) {
    struct Case {
        Rect normalized;
        Rect bounds;
        Rect expected;
    };
    const Case cases[] = {
        {{0, 0, 1, 1}, {0, 25, 1440, 875}, {0, 25, 1440, 875}},
        {{0, 0, 0.5, 1}, {100, 0, 1000, 800}, {100, 0, 500, 800}},
        {{0, 0, 1, 0.25}, {100, 0, 1000, 800}, {100, 600, 1000, 200}},       // the top quarter
        {{0, 0.75, 1, 0.25}, {100, 0, 1000, 800}, {100, 0, 1000, 200}},      // the bottom quarter
        {{0.8, 0, 0.5, 1}, {0, 0, 1000, 800}, {500, 0, 500, 800}},           // shifted back inside
        {{0, 0, 2, 2}, {100, 50, 1000, 800}, {100, 50, 1000, 800}},          // never larger than the display
        {{-0.5, -0.5, 0.5, 0.5}, {0, 0, 1000, 800}, {0, 400, 500, 400}},     // pulled in from the top left
        {{0.5, 0, 0.5, 0.5}, {-1920, 0, 1920, 1080}, {-960, 540, 960, 540}}, // display left of the main one
    };
    for (const auto& c : cases) {
        EXPECT_EQ(absoluteRect(c.normalized, c.bounds), c.expected)
            << c.normalized.x << "," << c.normalized.y << "," << c.normalized.width << ","
            << c.normalized.height;
    }
}

TEST(Tile, LabelIsLeftOutWhenAbsentAndNullReadsAsAbsent) {
    const Tile unlabelled = tile({0, 0, 0.5, 1});
    const Json json = platform::encodeJson(unlabelled);
    EXPECT_FALSE(json.contains("label"));
    EXPECT_EQ(platform::decodeJson<Tile>(json), unlabelled);

    Json withNull = json;
    withNull["label"] = nullptr;
    EXPECT_EQ(platform::decodeJson<Tile>(withNull), unlabelled);

    const Tile labelled = tile({0.5, 0, 0.5, 1}, "Right");
    EXPECT_EQ(platform::encodeJson(labelled)["label"], "Right");
    EXPECT_EQ(platform::decodeJson<Tile>(platform::encodeJson(labelled)), labelled);
}

TEST(Layout, RoundTripsAndKeepsTileOrder) {
    const Layout layout{LayoutId(platform::UUID()),
                        "Halves",
                        DisplayId("1"),
                        {tile({0, 0, 0.5, 1}, "Left"), tile({0.5, 0, 0.5, 1}, "Right")}};
    const auto text = platform::encodeJsonText(layout);
    EXPECT_EQ(text.rfind(R"({"id":{"rawValue":")", 0), 0u) << text;
    EXPECT_EQ(platform::decodeJsonText<Layout>(text), layout);

    Layout reversed = layout;
    std::swap(reversed.tiles[0], reversed.tiles[1]);
    EXPECT_NE(reversed, layout);

    const Layout empty{layout.id, "Empty", DisplayId("1"), {}};
    EXPECT_EQ(platform::decodeJsonText<Layout>(platform::encodeJsonText(empty)), empty);
}

TEST(Layout, FailsWithoutTilesOrWithOneBadTile) {
    Json json =
        platform::encodeJson(Layout{LayoutId(platform::UUID()), "L", DisplayId("1"), {tile({0, 0, 1, 1})}});
    Json withoutTiles = json;
    withoutTiles.erase("tiles");
    EXPECT_THROW(platform::decodeJson<Layout>(withoutTiles), platform::Error);

    Json badTile = json;
    badTile["tiles"].push_back(Json::parse(R"({"id":{"rawValue":"x"}})"));
    try {
        platform::decodeJson<Layout>(badTile);
        ADD_FAILURE() << "a bad tile decoded";
    } catch (const platform::Error& e) {
        EXPECT_NE(std::string(e.what()).find(R"(key "tiles": element 1: cannot decode Tile)"),
                  std::string::npos)
            << e.what();
    }
}
