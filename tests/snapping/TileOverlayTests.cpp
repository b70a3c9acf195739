#include "TilingFixture.hpp"

#include "platform/control/DesktopSpecs.hpp"
#include "platform/ui/declarative/Elements.hpp"
#include "snapping/HighlightedTileOverlay.hpp"
#include "snapping/SnapBarOverlay.hpp"
#include "snapping/SnapBarOverlayCoordinator.hpp"
#include "snapping/TileEdgesShape.hpp"
#include "windows/SystemDisplayProvider.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace tilmora::testing {
namespace {

namespace ui = platform::ui;
namespace decl = platform::ui::declarative;
using Edge = TileEdgesShape::Edge;

Tile tile(double x, double y, double w, double h, const char* label = nullptr) {
    return Tile{TileId(platform::UUID()), "1", Rect{x, y, w, h},
                label ? std::optional<std::string>(label) : std::nullopt};
}

/// Every node of a hosted tree, depth first (backgrounds, children, overlays).
void collect(const decl::Element& e, std::vector<const decl::Node*>& out) {
    const auto& n = *e.node();
    out.push_back(&n);
    for (const auto& c : n.backgrounds)
        collect(c, out);
    for (const auto& c : n.children)
        collect(c, out);
    for (const auto& c : n.overlays)
        collect(c, out);
}

std::vector<const decl::Node*> nodes(const decl::HostingView& host) {
    std::vector<const decl::Node*> out;
    collect(host.tree(), out);
    return out;
}

/// The nodes of the hosted highlight views.
std::vector<const decl::Node*> highlights(const decl::HostingView& host) {
    std::vector<const decl::Node*> out;
    for (const auto* n : nodes(host))
        if (n->kind == decl::NodeKind::component &&
            std::dynamic_pointer_cast<HighlightedTileOverlay>(n->component))
            out.push_back(n);
    return out;
}

/// The segments of the first path shape outside any highlight: the tile edges.
std::vector<std::pair<ui::Point, ui::Point>> edgeSegments(const decl::HostingView& host) {
    for (const auto* n : nodes(host)) {
        if (n->kind == decl::NodeKind::component &&
            std::dynamic_pointer_cast<HighlightedTileOverlay>(n->component))
            break;
        if (n->kind == decl::NodeKind::shape && n->shapeKind == "path")
            return n->pathBuilder(n->layoutFrame.size).lineSegments();
    }
    return {};
}

TEST(TileEdgesShapeTest, SharedEdgesAreDrawnOnceAndTheExcludedTilesEdgesGo) {
    const Tile left = tile(0, 0, 0.5, 1, "Left"), right = tile(0.5, 0, 0.5, 1, "Right");
    const Tile topLeft = tile(0, 0, 0.5, 0.5), topRight = tile(0.5, 0, 0.5, 0.5),
               bottom = tile(0, 0.5, 1, 0.5);
    struct Case {
        const char* name;
        std::vector<Tile> tiles;
        std::optional<TileId> excluded;
        std::size_t count;
    };
    const Case cases[] = {
        {"halves", {left, right}, std::nullopt, 7},
        {"halves, right excluded", {left, right}, right.id, 3},
        {"halves, unknown id excluded", {left, right}, TileId(platform::UUID()), 7},
        {"a long edge beside two short ones stays three", {topLeft, topRight, bottom}, std::nullopt, 11},
        {"the same tile twice", {left, left}, std::nullopt, 4},
        {"no tiles", {}, std::nullopt, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TileEdgesShape shape{c.tiles, c.excluded, 2};
        EXPECT_EQ(shape.edges(ui::Size{1440, 875}).size(), c.count);
        EXPECT_EQ(shape.path({0, 0, 1440, 875}).lineSegments().size(), c.count);
    }

    // With the right half excluded: the left half's top, bottom and left, in device pixels.
    const TileEdgesShape shape{{left, right}, right.id, 2};
    EXPECT_EQ(shape.edges(ui::Size{1440, 875}),
              (std::vector<Edge>{{{0, 0}, {0, 1750}}, {{0, 0}, {1440, 0}}, {{0, 1750}, {1440, 1750}}}));
}

TEST(TileEdgesShapeTest, EdgesLandOnWholeDevicePixels) {
    struct Case {
        const char* name;
        double scale;
        double x; ///< where the tile's left edge is drawn, points
    };
    const Case cases[] = {
        {"scale 2", 2, 100.5},
        {"scale 1", 1, 100},
        {"scale 0.5 counts as 1", 0.5, 100},
        {"scale 0 counts as 1", 0, 100},
        {"scale 3", 3, 100 + 1.0 / 3},
        {"NaN counts as 1", std::nan(""), 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TileEdgesShape shape{{tile(0.1003, 0, 0.5, 1)}, std::nullopt, c.scale};
        const auto segments = shape.path({0, 0, 1000, 800}).lineSegments();
        const auto vertical = std::count_if(segments.begin(), segments.end(), [&](const auto& s) {
            return std::abs(s.first.x - c.x) < 1e-9 && s.first.x == s.second.x;
        });
        EXPECT_EQ(vertical, 1) << "no vertical edge at " << c.x;
    }
}

TEST(HighlightedTileOverlayTest, HighlightsSitOnDevicePixelsWithAPlusOfAtLeastSixPoints) {
    struct Frame {
        const char* name;
        Rect tile;
        ui::Size size;
        double scale;
        ui::Rect expected;
    };
    const Frame frames[] = {
        {"right half at scale 2", {0.5, 0, 0.5, 1}, {1440, 875}, 2, {720, 0, 720, 875}},
        {"left edge at 100.3 points", {0.1003, 0, 0.5, 1}, {1000, 800}, 2, {100.5, 0, 500, 800}},
        {"the same at scale 1", {0.1003, 0, 0.5, 1}, {1000, 800}, 1, {100, 0, 500, 800}},
        {"scale below 1 counts as 1", {0.1003, 0, 0.5, 1}, {1000, 800}, 0.5, {100, 0, 500, 800}},
        {"a negative size is empty", {0.5, 0.5, -0.2, -0.2}, {1000, 800}, 1, {500, 400, 0, 0}},
    };
    for (const auto& c : frames) {
        SCOPED_TRACE(c.name);
        const auto r = SnapBarOverlay::highlightFrame(c.tile, c.size, c.scale);
        EXPECT_NEAR(r.origin.x, c.expected.origin.x, 1e-9);
        EXPECT_NEAR(r.origin.y, c.expected.origin.y, 1e-9);
        EXPECT_NEAR(r.size.width, c.expected.size.width, 1e-9);
        EXPECT_NEAR(r.size.height, c.expected.size.height, 1e-9);
    }

    struct Plus {
        ui::Size size;
        double arm;
    };
    for (const auto& c : {Plus{{20, 10}, 6}, Plus{{500, 300}, 54}, Plus{{0, 0}, 6}, Plus{{40, 100}, 7.2}}) {
        SCOPED_TRACE(ui::Rect({0, 0}, c.size).description());
        const auto segments = HighlightedTileOverlay::plusPath(c.size).lineSegments();
        ASSERT_EQ(segments.size(), 2u);
        const double cx = c.size.width / 2, cy = c.size.height / 2;
        EXPECT_EQ(segments[0], (std::pair<ui::Point, ui::Point>{{cx - c.arm, cy}, {cx + c.arm, cy}}));
        EXPECT_EQ(segments[1], (std::pair<ui::Point, ui::Point>{{cx, cy - c.arm}, {cx, cy + c.arm}}));
    }
}

class SnapBarOverlayViewTest : public TilingTest {};

TEST_F(SnapBarOverlayViewTest, DrawsTheTilesAndTheHighlightedTileOnly) {
    auto vm = std::make_shared<SnapBarOverlayViewModel>(builtIn(), L2);
    decl::HostingView host(SnapBarOverlay::standard(vm), ui::Rect{0, 0, 1440, 875});
    host.rebuild();

    EXPECT_FALSE(host.tree().node()->children.at(0).node()->hitTesting);
    EXPECT_TRUE(highlights(host).empty());
    EXPECT_EQ(edgeSegments(host).size(), 7u);
    for (const auto* n : nodes(host)) {
        if (n->kind != decl::NodeKind::shape) continue;
        ASSERT_TRUE(n->stroke);
        EXPECT_EQ(n->stroke->color, ui::Color::systemGreen().withAlphaComponent(0.55));
        EXPECT_EQ(n->stroke->lineWidth, 3);
        EXPECT_EQ(n->stroke->lineCap, "round");
    }

    struct Step {
        const char* name;
        std::optional<TileId> highlighted;
        std::size_t edges;
        std::optional<ui::Rect> frame;
    };
    const Step steps[] = {
        {"right", L2.tiles[1].id, 3, ui::Rect{720, 0, 720, 875}},
        {"left", L2.tiles[0].id, 3, ui::Rect{0, 0, 720, 875}},
        {"unknown id", TileId(platform::UUID()), 7, std::nullopt},
        {"cleared", std::nullopt, 7, std::nullopt},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        const int builds = host.buildCount();
        vm->highlighted.set(s.highlighted);
        sim().drainMainQueue(); // the change redraws on the next main-queue turn
        EXPECT_EQ(host.buildCount(), builds + 1);
        EXPECT_EQ(edgeSegments(host).size(), s.edges);
        const auto found = highlights(host);
        ASSERT_EQ(found.size(), s.frame ? 1u : 0u);
        if (!s.frame) continue;
        EXPECT_EQ(found[0]->layoutFrame, *s.frame);

        // Its own drawing: the fill, the outline and the plus of a 720 x 875 tile.
        std::vector<const decl::Node*> parts;
        collect(found[0]->children.at(0), parts);
        std::vector<const decl::Node*> shapes;
        std::copy_if(parts.begin(), parts.end(), std::back_inserter(shapes),
                     [](const decl::Node* n) { return n->kind == decl::NodeKind::shape; });
        ASSERT_EQ(shapes.size(), 3u);
        EXPECT_EQ(shapes[0]->fill, ui::Color::systemGreen().withAlphaComponent(0.12));
        ASSERT_TRUE(shapes[1]->stroke);
        EXPECT_EQ(shapes[1]->stroke->lineWidth, 3);
        ASSERT_TRUE(shapes[2]->stroke);
        EXPECT_EQ(shapes[2]->stroke->lineWidth, 2);
        const auto plus = shapes[2]->pathBuilder(shapes[2]->layoutFrame.size).lineSegments();
        ASSERT_EQ(plus.size(), 2u);
        EXPECT_NEAR(plus[0].second.x - plus[0].first.x, 2 * 720 * 0.18, 1e-9);
    }
}

class SnapBarOverlayCoordinatorTest : public TilingTest {
protected:
    void restoreFixture() override {
        TilingTest::restoreFixture();
        desk().useLaptop();
    }
};

TEST_F(SnapBarOverlayCoordinatorTest, OpensAClickThroughWindowOverTheDisplaysVisibleFrame) {
    SnapBarOverlayCoordinator coordinator;
    coordinator.showOverlay(builtIn(), L2);
    ASSERT_EQ(coordinator.overlays.size(), 1u);
    const auto first = coordinator.overlays.at("1");
    const auto& w = *first.window;
    EXPECT_EQ(w.frame(), (ui::Rect{0, 0, 1440, 875}));
    EXPECT_EQ(w.level(), 1000);
    EXPECT_TRUE(w.ignoresMouseEvents());
    EXPECT_EQ(w.collectionBehavior, 257u);
    EXPECT_EQ(w.styleMask(), 0u);
    EXPECT_FALSE(w.isOpaque);
    EXPECT_TRUE(w.backgroundColor.isClear());
    EXPECT_TRUE(w.isVisible());
    ASSERT_TRUE(w.hosting);
    EXPECT_EQ(w.contentView(), w.hosting);
    EXPECT_EQ(w.hosting->frame(), (ui::Rect{0, 0, 1440, 875}));
    EXPECT_EQ(first.vm->layout, L2);
    EXPECT_FALSE(first.vm->highlighted.get());

    // A display no screen has: nothing opens, nothing is dropped.
    coordinator.showOverlay(DisplayDescriptor{"9", "Gone", Rect{0, 0, 100, 100}, 1}, L2);
    EXPECT_EQ(coordinator.overlays.size(), 1u);
    EXPECT_TRUE(w.isVisible());

    coordinator.highlight(L2.tiles[1].id);
    EXPECT_EQ(coordinator.overlays.at("1").vm->highlighted.get(), L2.tiles[1].id);

    // A second show for the display replaces the first window and takes it down.
    coordinator.showOverlay(builtIn(), L2);
    const auto second = coordinator.overlays.at("1");
    EXPECT_NE(second.window, first.window);
    EXPECT_FALSE(first.window->isVisible());
    EXPECT_TRUE(second.window->isVisible());
    EXPECT_FALSE(second.vm->highlighted.get());
    sim().drainMainQueue(); // the first window's late order-front does not bring it back
    EXPECT_FALSE(first.window->isVisible());

    coordinator.hideOverlay();
    EXPECT_TRUE(coordinator.overlays.empty());
    EXPECT_FALSE(second.window->isVisible());
    sim().drainMainQueue();
    EXPECT_FALSE(second.window->isVisible());
}

TEST_F(SnapBarOverlayCoordinatorTest, ClicksPassThroughTheOverlayToTheWindowsBelow) {
    const pid_t notesPid = desk().run(notesApp(), {window("Under", {100, 100, 400, 300})});
    SnapBarOverlayCoordinator coordinator;
    coordinator.showOverlay(builtIn(), L2);
    sim().drainMainQueue();
    ASSERT_TRUE(coordinator.overlays.at("1").window->isVisible());
    const auto hit = desk().windowAt({200, 200});
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->pid, notesPid);
    EXPECT_FALSE(desk().windowAt({1000, 600})); // only the overlay covers this spot
    coordinator.hideOverlay();
}

TEST_F(SnapBarOverlayCoordinatorTest, FindsTheScreenByItsIdentifierText) {
    platform::DisplaySpec panel;
    panel.displayID = 3;
    panel.name = "Panel";
    panel.frame = {1440, 0, 800, 600};
    panel.backingScaleFactor = 1;
    panel.hasScreenNumber = false;
    desk().addDisplay(panel);

    struct Case {
        const char* id;
        bool opens;
        ui::Rect frame;
    };
    for (const auto& c : {Case{"Panel-1440.0-0.0", true, {1440, 0, 800, 575}}, Case{"3", false, {}},
                          Case{"1", true, {0, 0, 1440, 875}}, Case{"Panel", false, {}}}) {
        SCOPED_TRACE(c.id);
        SnapBarOverlayCoordinator coordinator;
        coordinator.showOverlay(DisplayDescriptor{DisplayId(c.id), "x", Rect{}, 1}, L2);
        ASSERT_EQ(coordinator.overlays.size(), c.opens ? 1u : 0u);
        if (c.opens) {
            EXPECT_EQ(coordinator.overlays.begin()->second.window->frame(), c.frame);
        }
        coordinator.hideOverlay();
    }
}

TEST_F(SnapBarOverlayCoordinatorTest, TheControllerDrivesTheOverlayThroughADrag) {
    auto coordinator = std::make_shared<SnapBarOverlayCoordinator>();
    TilingController live(std::make_shared<SystemDisplayProvider>(), std::make_shared<WindowProvider>(),
                          mutator, std::make_shared<DefaultTilingEngine>(), nullptr);
    live.connectOverlayPresenter(coordinator);
    live.setTransientLayout(L2, "1");

    ASSERT_TRUE(live.beginDrag(WindowId("77"), {100, 400}));
    ASSERT_EQ(coordinator->overlays.size(), 1u);
    const auto overlay = coordinator->overlays.at("1");
    EXPECT_EQ(overlay.vm->display.name, "Built-in Retina Display");
    EXPECT_EQ(overlay.vm->highlighted.get(), L2.tiles[0].id);
    sim().drainMainQueue();
    EXPECT_EQ(highlights(*overlay.window->hosting).size(), 1u);

    live.updateDrag({1000, 400});
    EXPECT_EQ(overlay.vm->highlighted.get(), L2.tiles[1].id);

    live.endDrag({1000, 400});
    EXPECT_TRUE(coordinator->overlays.empty());
    EXPECT_FALSE(overlay.window->isVisible());
    EXPECT_EQ(mutator->calls, std::vector<std::string>{"77 {{720, 0}, {720, 875}}"});
}

} // namespace
} // namespace tilmora::testing
