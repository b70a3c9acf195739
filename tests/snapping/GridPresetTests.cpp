#include "snapping/GridLayout.hpp"
#include "snapping/GridPresetStorage.hpp"
#include "snapping/RoriDeru.hpp"
#include "support/SnapGridParts.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <unordered_set>

namespace tilmora {
namespace {

using Preset = RoriDeru::Preset;

TEST(Preset, ConstructorRaisesOutOfRangeValues) {
    EXPECT_EQ(Preset(0, -3, -1, 5), Preset(1, 1, 0, 5));
    const Preset nan(2, 2, std::nan(""), std::nan(""));
    EXPECT_EQ(nan.gutter, 0);
    EXPECT_EQ(nan.padding, 0);
    EXPECT_NE(Preset(2, 2, 0, 0), Preset(2, 2, 0, 1));
    // A zero gutter hashes alike whatever its sign.
    EXPECT_EQ(std::hash<Preset>{}(Preset(2, 2, -0.0, 0)), std::hash<Preset>{}(Preset(2, 2, 0, 0)));
    std::unordered_set<Preset> set{Preset(2, 3, 8, 0), Preset(2, 3, 8, 0), Preset(3, 2, 8, 0)};
    EXPECT_EQ(set.size(), 2u);
}

TEST(PresetText, WritesShortestNumbersWithAFraction) {
    EXPECT_EQ(GridPresetStorage::text(Preset(2, 3, 8, 0)), "2,3,8.0,0.0");
    EXPECT_EQ(GridPresetStorage::text(Preset(1, 2, 12.5, 0)), "1,2,12.5,0.0");
    EXPECT_EQ(GridPresetStorage::text(Preset(4, 4, 0.1, 3)), "4,4,0.1,3.0");
}

struct ParseCase {
    const char* text;
    std::optional<Preset> expected;
};

TEST(ParsePreset, ReadsStoredTexts) {
    const ParseCase cases[] = {
        {"2,3,8.0,0.0", Preset(2, 3, 8, 0)},
        {"2,3,8,0", Preset(2, 3, 8, 0)},
        {"0,-3,-1,5", Preset(1, 1, 0, 5)},
        {"2,x,3,8.0,0.0", Preset(2, 3, 8, 0)},
        {"2,,3,8.0,0.0", Preset(2, 3, 8, 0)},
        {"2.9,3.99,8,0", Preset(2, 3, 8, 0)}, // truncated toward zero
        {"-1e300,3,8,0", Preset(1, 3, 8, 0)}, // far below 1 is still 1
        {"64,64,0,0", Preset(64, 64, 0, 0)},
        {"64.9,2,0,0", Preset(64, 2, 0, 0)}, // truncated first, then capped
        {"+2,3,.5,1e1", Preset(2, 3, 0.5, 10)},
        {"0x2,2,3,8,0", Preset(2, 3, 8, 0)}, // hexadecimal is not a decimal number: skipped
        {"2,3,0x8,0", std::nullopt},
        {"2,3,8.0", std::nullopt},      // three numbers
        {"2, 3,8.0,0.0", std::nullopt}, // a part starting with a blank is no number
        {"2,3 ,8.0,0.0", std::nullopt},
        {"", std::nullopt},
        {"1,2,3,4,5", std::nullopt},
        // Absurd sizes, rows or cols that are not finite and an infinite gutter or padding are
        // malformed.
        {"100000,100000,0,0", std::nullopt},
        {"65,1,0,0", std::nullopt},
        {"1e300,2,0,0", std::nullopt},
        {"inf,2,0,0", std::nullopt},
        {"nan,2,0,0", std::nullopt},
        {"2,-inf,0,0", std::nullopt},
        {"2,2,inf,0", std::nullopt},
        {"2,2,-inf,0", std::nullopt},
        {"2,2,0,Infinity", std::nullopt},
        // A NaN gutter or padding takes 0 and keeps the rows and columns, as a negative one does.
        {"2,2,0,nan", Preset(2, 2, 0, 0)},
        {"2,3,nan,0", Preset(2, 3, 0, 0)},
        {"4,1,NaN,-2.5", Preset(4, 1, 0, 0)},
        {"2,3,-nan,7", Preset(2, 3, 0, 7)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GridPresetStorage::parse(c.text), c.expected) << c.text;
    }
}

TEST(GridMetrics, FloorsCellsToPixelsAndGivesTheRestToTheLast) {
    const auto m = RoriDeru::gridMetrics({0, 0, 1000, 600}, 1, 3, 10, 2);
    EXPECT_EQ(m.colWidths, (std::vector<double>{326.5, 326.5, 327.0}));
    EXPECT_EQ(m.colXs, (std::vector<double>{0, 336.5, 673.0}));
    EXPECT_EQ(m.rowYs, (std::vector<double>{0}));
    EXPECT_EQ(m.rowHeights, (std::vector<double>{600}));

    // One cell: the whole length rounded to the pixel grid.
    const auto one = RoriDeru::gridMetrics({10, 20, 333.3, 100.74}, 1, 1, 8, 2);
    EXPECT_EQ(one.colWidths, (std::vector<double>{333.5}));
    EXPECT_EQ(one.rowHeights, (std::vector<double>{100.5}));

    // Rows go bottom up from the rectangle's minY; a NaN or small scale counts as 1.
    const auto rows = RoriDeru::gridMetrics({0, 100, 50, 301}, 3, 1, 0, std::nan(""));
    EXPECT_EQ(rows.rowYs, (std::vector<double>{100, 200, 300}));
    EXPECT_EQ(rows.rowHeights, (std::vector<double>{100, 100, 101}));

    // A gutter larger than the space leaves every cell one pixel wide.
    const auto cramped = RoriDeru::gridMetrics({0, 0, 10, 10}, 1, 3, 20, 1);
    EXPECT_EQ(cramped.colWidths, (std::vector<double>{1, 1, 1}));
}

TEST(Tiles, RowMajorFromTheBottomRow) {
    RoriDeru grid;
    const auto tiles = grid.tiles({0, 0, 1200, 800}, 1, 1, Preset(2, 3, 0, 0));
    ASSERT_EQ(tiles.size(), 6u);
    EXPECT_EQ(tiles[0], (Rect{0, 0, 400, 400}));
    EXPECT_EQ(tiles[2], (Rect{800, 0, 400, 400}));
    EXPECT_EQ(tiles[3], (Rect{0, 400, 400, 400}));
    EXPECT_EQ(RoriDeru::rowCol(tiles[4], tiles, 3), (GridLayout::RowCol{2, 2}));
    EXPECT_EQ(RoriDeru::rowCol({1, 2, 3, 4}, tiles, 3), std::nullopt);
}

TEST(Tiles, CustomEdgesReplaceTheEvenGridWhenTheyFit) {
    RoriDeru grid;
    SnapGridParts::overlayLifecycle(grid).setCustomEdges(1, {{0, 0.25, 1}, {0, 1}});
    const auto custom = grid.tiles({100, 0, 1000, 800}, 2, 1, Preset(1, 2, 10, 0));
    ASSERT_EQ(custom.size(), 2u);
    EXPECT_EQ(custom[0], (Rect{100, 0, 250, 800}));
    EXPECT_EQ(custom[1], (Rect{350, 0, 750, 800}));
    // Edges of the wrong length, or of another display, are ignored.
    const auto even = grid.tiles({100, 0, 1000, 800}, 2, 1, Preset(1, 3, 0, 0));
    EXPECT_EQ(even[0].width, 333);
    const auto other = grid.tiles({100, 0, 1000, 800}, 2, 2, Preset(1, 2, 0, 0));
    EXPECT_EQ(other[0].width, 500);
    const auto unnumbered = grid.tiles({100, 0, 1000, 800}, 2, std::nullopt, Preset(1, 2, 0, 0));
    EXPECT_EQ(unnumbered[0].width, 500);
}

TEST(PickSnapTile, PrefersAnEdgeMatchThenTheLargestOverlap) {
    RoriDeru grid;
    const auto tiles = grid.tiles({0, 0, 1200, 800}, 1, std::nullopt, Preset(2, 2, 0, 0));
    // Left edge 10 points from tile 0's: tile 0 even though the window mostly covers tile 1.
    EXPECT_EQ(RoriDeru::pickSnapTile({10, 100, 1000, 200}, tiles, 16), tiles[0]);
    // No edge within the threshold: the largest overlap (the top-right tile).
    EXPECT_EQ(RoriDeru::pickSnapTile({500, 450, 600, 300}, tiles, 16), tiles[3]);
    // Equal overlaps keep the earlier tile.
    EXPECT_EQ(RoriDeru::pickSnapTile({500, 300, 200, 200}, tiles, 16), tiles[0]);
    // Nothing overlapping and no edge near: the first tile.
    EXPECT_EQ(RoriDeru::pickSnapTile({5000, 5000, 10, 10}, tiles, 16), tiles[0]);
    EXPECT_EQ(RoriDeru::pickSnapTile({0, 0, 10, 10}, {}, 16), std::nullopt);
}

TEST(InsetByPadding, NeverGivesANegativeSize) {
    const Rect tile{100, 200, 300, 40};
    EXPECT_EQ(GridLayout::insetByPadding(tile, 4), (Rect{104, 204, 292, 32}));
    EXPECT_EQ(GridLayout::insetByPadding(tile, 30), (Rect{130, 220, 240, 0}));
    EXPECT_EQ(GridLayout::insetByPadding(tile, 500), (Rect{250, 220, 0, 0}));
    EXPECT_EQ(GridLayout::insetByPadding(tile, -3), tile);
}

} // namespace
} // namespace tilmora
