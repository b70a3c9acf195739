#include "TilingFixture.hpp"

#include "model/Settings.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tilmora::testing {
namespace {

using Lines = std::vector<std::string>;

TEST(DefaultTilingEngineTest, MapsTilesInsideTheDisplay) {
    struct Case {
        const char* name;
        Rect tile;
        Rect bounds;
        Rect expected;
    };
    const Case cases[] = {
        {"top-left quarter below a menu bar", {0, 0, 0.5, 0.5}, {0, 25, 1440, 875}, {0, 462.5, 720, 437.5}},
        {"past the right edge shifts left", {0.8, 0, 0.5, 1}, {0, 0, 1000, 800}, {500, 0, 500, 800}},
        {"wider than the display is capped", {0, 0, 1.5, 1}, {0, 0, 1000, 800}, {0, 0, 1000, 800}},
        {"top quarter of an offset display", {0, 0, 1, 0.25}, {100, 0, 1000, 800}, {100, 600, 1000, 200}},
        {"right half of a display left of the main one",
         {0.5, 0, 0.5, 1},
         {-1920, 0, 1920, 1055},
         {-960, 0, 960, 1055}},
    };
    const DefaultTilingEngine engine;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Tile tile{TileId(platform::UUID()), "1", c.tile, std::nullopt};
        EXPECT_EQ(engine.rect(tile, DisplayDescriptor{"1", "D", c.bounds, 1}), c.expected);
    }
}

TEST_F(TilingTest, ADragIntoTheRightHalfMovesTheWindowThroughTheMutator) {
    controller->setTransientLayout(L2, "1");
    newLines();

    EXPECT_TRUE(controller->beginDrag(WindowId("77"), {100, 400}));
    EXPECT_EQ(
        newLines(),
        Lines{"[VESK][TILING] beginDrag window=77 display=Built-in id=1 layout=Default Halves tiles=2"});
    EXPECT_EQ(events, (Lines{"show 1 Default Halves", "highlight Left"}));
    ASSERT_TRUE(controller->dragState);
    EXPECT_EQ(controller->dragState->windowId, WindowId("77"));

    events.clear();
    controller->endDrag({1000, 400});
    EXPECT_EQ(newLines(), Lines{"[VESK][TILING] endDrag snap window=77 -> Right"});
    EXPECT_EQ(mutator->calls, Lines{"77 {{720, 0}, {720, 875}}"});
    EXPECT_EQ(events, (Lines{"highlight Right", "hide", "highlight nil"}));
    EXPECT_FALSE(controller->dragState);
}

TEST_F(TilingTest, AReleaseWithoutWindowIdGoesThroughTheFrontmostMoverOrNowhere) {
    struct Case {
        const char* name;
        bool withMover;
        Lines lines;
        Lines moved;
    };
    const Case cases[] = {
        {"mover set",
         true,
         {"[VESK][TILING] endDrag snap window=nil -> Right",
          "[VESK][TILING] endDrag applying via frontmostWindowMover"},
         {"{{720, 0}, {720, 875}}"}},
        {"no mover",
         false,
         {"[VESK][TILING] endDrag snap window=nil -> Right",
          "[VESK][TILING] endDrag skipped: no windowId and no frontmostWindowMover"},
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        restoreFixture();
        Lines moved;
        if (c.withMover)
            controller->frontmostWindowMover = [&](const Rect& r) {
                moved.push_back(RecordingMutator::text(r));
            };
        controller->setTransientLayout(L2, "1");
        ASSERT_TRUE(controller->beginDrag(std::nullopt, {100, 400}));
        newLines();
        controller->endDrag({1000, 400});
        EXPECT_EQ(newLines(), c.lines);
        EXPECT_EQ(moved, c.moved);
        EXPECT_TRUE(mutator->calls.empty());
        EXPECT_FALSE(controller->dragState);
    }
}

TEST_F(TilingTest, TheTileUnderThePointerIncludesItsEdgesAndTheEarlierTileWinsABorder) {
    struct Case {
        const char* name;
        platform::CGPoint pointer;
        const char* highlighted;
        const char* moved; ///< empty: nothing moved
    };
    const Case cases[] = {
        {"shared border", {720, 400}, "Left", "77 {{0, 0}, {720, 875}}"},
        {"left edge of the display", {0, 400}, "Left", "77 {{0, 0}, {720, 875}}"},
        {"right edge of the display", {1440, 0}, "Right", "77 {{720, 0}, {720, 875}}"},
        {"top edge", {1000, 875}, "Right", "77 {{720, 0}, {720, 875}}"},
        {"just right of the border", {720.01, 400}, "Right", "77 {{720, 0}, {720, 875}}"},
        {"above the display", {100, 876}, "nil", ""},
        {"left of the display", {-0.5, 400}, "nil", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        restoreFixture();
        controller->setTransientLayout(L2, "1");
        ASSERT_TRUE(controller->beginDrag(WindowId("77"), {100, 400}));
        events.clear();
        controller->updateDrag(c.pointer);
        EXPECT_EQ(events, Lines{std::string("highlight ") + c.highlighted});
        controller->endDrag(c.pointer);
        EXPECT_EQ(mutator->calls, std::string(c.moved).empty() ? Lines{} : Lines{c.moved});
    }
}

TEST_F(TilingTest, ADisplayWithoutPositiveSizePicksNoTile) {
    for (const Rect bounds : {Rect{0, 0, 0, 875}, Rect{0, 0, 1440, 0}, Rect{0, 0, -1440, 875}}) {
        SCOPED_TRACE(RecordingMutator::text(bounds));
        restoreFixture();
        displays->displays = {DisplayDescriptor{"1", "Built-in", bounds, 2}};
        controller->setTransientLayout(L2, "1");
        ASSERT_TRUE(controller->beginDrag(WindowId("77"), {0, 0}));
        EXPECT_EQ(events.back(), "highlight nil");
        newLines();
        controller->endDrag({0, 0});
        EXPECT_EQ(newLines(), Lines{"[VESK][TILING] endDrag noTile window=77 displayId=1"});
        EXPECT_TRUE(mutator->calls.empty());
    }
}

TEST_F(TilingTest, TheDragTakesTheDisplayUnderTheStartPointOrTheFirstOne) {
    const DisplayDescriptor external{"2", "DELL", Rect{1440, 0, 1920, 1055}, 1};
    struct Case {
        const char* name;
        std::vector<DisplayDescriptor> displays;
        std::vector<DisplayId> withLayout;
        platform::CGPoint start;
        bool taken;
        Lines lines;
        const char* shownOn; ///< empty: no show
    };
    const std::vector<DisplayDescriptor> both{builtIn(), external};
    const platform::CGPoint outside{-500, -500};
    const auto began = [](const std::string& display) {
        return "[VESK][TILING] beginDrag window=nil display=" + display + " layout=Default Halves tiles=2";
    };
    const Case cases[] = {
        {"outside every display: the first", both, {"1"}, outside, true, {began("Built-in id=1")}, "1"},
        {"outside, the first has no layout",
         both,
         {"2"},
         outside,
         false,
         {"[VESK][TILING] beginDrag skipped (no layout) window=nil displayId=1"},
         ""},
        {"on the second display", both, {"1", "2"}, {2000, 500}, true, {began("DELL id=2")}, "2"},
        {"on the shared edge: the earlier display",
         both,
         {"1", "2"},
         {1440, 500},
         true,
         {began("Built-in id=1")},
         "1"},
        {"no displays at all", {}, {"1"}, {100, 100}, false, {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        restoreFixture();
        displays->displays = c.displays;
        for (const auto& id : c.withLayout)
            controller->setTransientLayout(L2, id);
        newLines();
        EXPECT_EQ(controller->beginDrag(std::nullopt, c.start), c.taken);
        EXPECT_EQ(newLines(), c.lines);
        EXPECT_EQ(controller->dragState.has_value(), c.taken);
        if (std::string(c.shownOn).empty())
            EXPECT_TRUE(events.empty());
        else
            EXPECT_EQ(events.front(), std::string("show ") + c.shownOn + " Default Halves");
    }
}

TEST_F(TilingTest, UpdatesHighlightOnEveryTickAndEveryEndCleansUp) {
    controller->updateDrag({100, 400}); // idle: nothing
    controller->endDrag({100, 400});
    controller->cancelDrag();
    EXPECT_TRUE(events.empty());

    controller->setTransientLayout(L2, "1");
    ASSERT_TRUE(controller->beginDrag(WindowId("77"), {100, 400}));
    events.clear();
    for (int i = 0; i < 3; ++i)
        controller->updateDrag({100, 400});
    controller->updateDrag({1000, 400});
    EXPECT_EQ(events, (Lines{"highlight Left", "highlight Left", "highlight Left", "highlight Right"}));

    // A layout holding only the left half: a release on the right moves nothing.
    extra = L2;
    extra.tiles.pop_back();
    controller->setTransientLayout(extra, "1");
    ASSERT_TRUE(controller->beginDrag(WindowId("77"), {100, 400}));
    events.clear();
    newLines();
    controller->endDrag({1000, 400});
    EXPECT_EQ(newLines(), Lines{"[VESK][TILING] endDrag noTile window=77 displayId=1"});
    EXPECT_EQ(events, (Lines{"highlight nil", "hide", "highlight nil"}));
    EXPECT_TRUE(mutator->calls.empty());
    EXPECT_FALSE(controller->dragState);

    events.clear();
    controller->endDrag({100, 400});
    EXPECT_TRUE(events.empty());
}

TEST_F(TilingTest, ASecondBeginReplacesTheDragAndShowsAgain) {
    controller->setTransientLayout(L2, "1");
    ASSERT_TRUE(controller->beginDrag(WindowId("77"), {100, 400}));
    ASSERT_TRUE(controller->beginDrag(WindowId("78"), {1000, 400}));
    EXPECT_EQ(events,
              (Lines{"show 1 Default Halves", "highlight Left", "show 1 Default Halves", "highlight Right"}));
    controller->endDrag({100, 400});
    EXPECT_EQ(mutator->calls, Lines{"78 {{0, 0}, {720, 875}}"});
}

TEST_F(TilingTest, ACancelledDragMovesNothingAndLeavesNothingForTheNextRelease) {
    controller->setTransientLayout(L2, "1");
    ASSERT_TRUE(controller->beginDrag(WindowId("77"), {100, 400}));
    events.clear();
    newLines();
    controller->cancelDrag();
    EXPECT_EQ(events, (Lines{"hide", "highlight nil"}));
    EXPECT_FALSE(controller->dragState);

    events.clear();
    controller->endDrag({1000, 400});
    controller->cancelDrag();
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(mutator->calls.empty());
    EXPECT_TRUE(newLines().empty());
}

TEST_F(TilingTest, AFailingMoveStillHidesTheOverlayAndEndsTheDrag) {
    controller->setTransientLayout(L2, "1");
    controller->frontmostWindowMover = [](const Rect&) { throw std::runtime_error("mover failed"); };
    ASSERT_TRUE(controller->beginDrag(std::nullopt, {100, 400}));
    events.clear();
    EXPECT_THROW(controller->endDrag({1000, 400}), std::runtime_error);
    EXPECT_EQ(events, (Lines{"highlight Right", "hide", "highlight nil"}));
    EXPECT_FALSE(controller->dragState);
}

TEST_F(TilingTest, TransientLayoutsAreLoggedOnlyWithVerboseLogging) {
    controller->setTransientLayout(L2, "1");
    controller->clearTransientLayout("1");
    controller->clearTransientLayout("5"); // none stored: still logged
    EXPECT_EQ(newLines(),
              (Lines{"[VESK][TILING] setTransientLayout displayId=1 layout=Default Halves tiles=2",
                     "[VESK][TILING] clearTransientLayout displayId=1",
                     "[VESK][TILING] clearTransientLayout displayId=5"}));
    EXPECT_TRUE(controller->transientLayoutsByDisplay.empty());

    // A replaced layout is the one a drag takes.
    extra = L2;
    extra.name = "Other";
    controller->setTransientLayout(L2, "1");
    controller->setTransientLayout(extra, "1");
    EXPECT_EQ(controller->transientLayoutsByDisplay.at("1").name, "Other");

    for (const platform::PropertyValue& off :
         {platform::PropertyValue(false), platform::PropertyValue("YES")}) {
        restoreFixture();
        platform::UserDefaults::standard().set(off, settings::verboseLogging.key);
        newLines();
        controller->frontmostWindowMover = [](const Rect&) {};
        controller->setTransientLayout(L2, "1");
        EXPECT_TRUE(controller->beginDrag(std::nullopt, {100, 400}));
        controller->endDrag({1000, 400});
        EXPECT_TRUE(controller->beginDrag(WindowId("77"), {100, 400}));
        controller->endDrag({2000, 400}); // outside every tile
        controller->clearTransientLayout("1");
        EXPECT_FALSE(controller->beginDrag(WindowId("77"), {100, 400}));
        EXPECT_TRUE(newLines().empty());
    }
}

TEST_F(TilingTest, TheHalvesLayoutHasFreshIdsAndTheDisplaysId) {
    const auto a = TilingController::defaultHalvesLayout(builtIn());
    const auto b = TilingController::defaultHalvesLayout(builtIn());
    EXPECT_EQ(a.name, "Default Halves");
    EXPECT_EQ(a.displayId, DisplayId("1"));
    ASSERT_EQ(a.tiles.size(), 2u);
    EXPECT_EQ(a.tiles[0].label, "Left");
    EXPECT_EQ(a.tiles[0].normalizedFrame, (Rect{0, 0, 0.5, 1.0}));
    EXPECT_EQ(a.tiles[1].label, "Right");
    EXPECT_EQ(a.tiles[1].normalizedFrame, (Rect{0.5, 0, 0.5, 1.0}));
    EXPECT_EQ(a.tiles[1].displayId, DisplayId("1"));
    EXPECT_NE(a.id, b.id);
    EXPECT_NE(a.tiles[0].id, a.tiles[1].id);
    EXPECT_NE(a.tiles[0].id, b.tiles[0].id);
}

} // namespace
} // namespace tilmora::testing
