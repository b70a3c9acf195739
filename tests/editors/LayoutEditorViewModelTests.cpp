#include "LayoutEditorFixture.hpp"

#include <gtest/gtest.h>

using namespace layouteditortest;
using tilmora::LayoutSplitAxis;
using tilmora::Rect;

namespace {

/// Counts the changes a model announces.
struct ChangeCounter {
    explicit ChangeCounter(tilmora::LayoutEditorViewModel& model) {
        model.subscribe([this] { ++changes; });
    }
    int changes = 0;
};

std::vector<Rect> framesOf(const Layout& layout) {
    std::vector<Rect> frames;
    for (auto& t : layout.tiles)
        frames.push_back(t.normalizedFrame);
    return frames;
}

} // namespace

class LayoutEditorViewModelTest : public LayoutEditorTest {};

TEST_F(LayoutEditorViewModelTest, AStoreWithoutALayoutGivesTheHalvesAndAStoredLayoutStaysAsItIs) {
    auto fresh = model("1");
    const Layout& halves = fresh->layout.get();
    EXPECT_EQ(halves.name, "Halves");
    EXPECT_EQ(halves.displayId, DisplayId("1"));
    ASSERT_EQ(halves.tiles.size(), 2u);
    EXPECT_EQ(framesOf(halves), (std::vector<Rect>{{0, 0, 0.5, 1}, {0.5, 0, 0.5, 1}}));
    EXPECT_EQ(halves.tiles[0].label, "Left");
    EXPECT_EQ(halves.tiles[1].label, "Right");
    for (auto& t : halves.tiles)
        EXPECT_EQ(t.displayId, DisplayId("1"));
    EXPECT_NE(halves.tiles[0].id, halves.tiles[1].id);
    EXPECT_NE(model("1")->layout.get().id, halves.id); // built afresh each time
    EXPECT_EQ(layoutStore->lookups, 2);

    Layout stored = layoutOf("1", {tile({0, 0, 1, 1}, std::nullopt, "9")});
    layoutStore->layouts = {stored};
    layoutStore->lookups = 0;
    auto loaded = model("1");
    EXPECT_EQ(loaded->layout.get(), stored);
    loaded->resetToDefaults();
    loaded->split(loaded->layout.get().tiles[0].id, LayoutSplitAxis::vertical);
    EXPECT_EQ(layoutStore->lookups, 1); // asked once, at creation
}

TEST_F(LayoutEditorViewModelTest, SplittingReplacesTheTileByTwoHalvesInItsPlace) {
    struct Case {
        std::string name;
        Tile split;
        LayoutSplitAxis axis;
        std::vector<Rect> frames;
    };
    const std::vector<Case> cases = {
        {"vertical", tile({0, 0, 0.5, 1}, "Left"), LayoutSplitAxis::vertical, {{0, 0, 0.25, 1}, {0.25, 0, 0.25, 1}, {0.5, 0, 0.5, 1}}},
        {"horizontal", tile({0, 0, 0.5, 1}, "Left"), LayoutSplitAxis::horizontal, {{0, 0, 0.5, 0.5}, {0, 0.5, 0.5, 0.5}, {0.5, 0, 0.5, 1}}},
        {"of another display, unlabelled", tile({0.2, 0.4, 0.4, 0.2}, std::nullopt, "9"), LayoutSplitAxis::vertical,
         {{0.2, 0.4, 0.2, 0.2}, {0.4, 0.4, 0.2, 0.2}, {0.5, 0, 0.5, 1}}},
        {"reaching outside the display", tile({-0.5, 0.5, 2, 1}, "Wide"), LayoutSplitAxis::horizontal,
         {{-0.5, 0.5, 2, 0.5}, {-0.5, 1, 2, 0.5}, {0.5, 0, 0.5, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Tile right = tile({0.5, 0, 0.5, 1}, "Right");
        layoutStore->layouts = {layoutOf("1", {c.split, right})};
        auto m = model("1");
        ChangeCounter counter(*m);
        m->split(c.split.id, c.axis);
        const auto& tiles = m->layout.get().tiles;
        EXPECT_EQ(counter.changes, 1);
        EXPECT_EQ(framesOf(m->layout.get()), c.frames);
        ASSERT_EQ(tiles.size(), 3u);
        for (int i = 0; i < 2; ++i) {
            EXPECT_NE(tiles[i].id, c.split.id);
            EXPECT_EQ(tiles[i].displayId, DisplayId("1"));
            EXPECT_EQ(tiles[i].label, c.split.label);
        }
        EXPECT_NE(tiles[0].id, tiles[1].id);
        EXPECT_EQ(tiles[2], right);
    }
}

TEST_F(LayoutEditorViewModelTest, AnUnknownTileChangesNothingAndTellsNoObserver) {
    auto m = model("1");
    const Layout before = m->layout.get();
    ChangeCounter counter(*m);
    m->split(TileId(platform::UUID()), LayoutSplitAxis::vertical);
    EXPECT_EQ(m->layout.get(), before);
    EXPECT_EQ(counter.changes, 0);
}

TEST_F(LayoutEditorViewModelTest, CaptionsAndResetToDefaults) {
    auto m = model("1");
    struct Case {
        std::optional<std::string> label;
        int index;
        std::string caption;
    };
    for (const auto& c : std::vector<Case>{{std::nullopt, 2, "Tile 3"}, {"", 2, "Tile 3"}, {"Left", 0, "Left"},
                                           {std::nullopt, 0, "Tile 1"}, {" ", 4, " "}}) {
        EXPECT_EQ(m->label(tile({0, 0, 1, 1}, c.label), c.index), c.caption);
    }

    const Layout before = m->layout.get();
    ChangeCounter counter(*m);
    m->resetToDefaults();
    EXPECT_EQ(counter.changes, 1);
    EXPECT_NE(m->layout.get().id, before.id);
    EXPECT_NE(m->layout.get().tiles[0].id, before.tiles[0].id);
    EXPECT_EQ(framesOf(m->layout.get()), framesOf(before));
}
