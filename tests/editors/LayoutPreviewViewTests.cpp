#include "LayoutEditorFixture.hpp"

#include "editors/LayoutPreviewView.hpp"

#include "platform/control/ViewDriver.hpp"
#include "platform/ui/declarative/Elements.hpp"

#include <gtest/gtest.h>

using namespace layouteditortest;
namespace decl = platform::ui::declarative;
namespace ui = platform::ui;
using tilmora::LayoutPreviewView;

namespace {

/// Holds the selection the preview is bound to, as the editor window does.
struct PreviewHolder : decl::Component<PreviewHolder> {
    std::shared_ptr<tilmora::LayoutEditorViewModel> model;
    decl::State<std::optional<TileId>> selected{this, std::nullopt};
    explicit PreviewHolder(std::shared_ptr<tilmora::LayoutEditorViewModel> m)
        : model(std::move(m)) {}
    PreviewHolder& operator=(const PreviewHolder&) = default;
    decl::Element body() override {
        return decl::view<LayoutPreviewView>(model, selected.binding()).id("layout.preview");
    }
};

/// The canvas's placed children: background, outline, then the tiles in drawing order.
std::vector<decl::Node*> canvasItems(decl::ViewDriver& driver) {
    std::vector<decl::Node*> out;
    for (auto& child : driver.find("layout.preview")->children[0].node()->children)
        out.push_back(child.node().get());
    return out;
}

std::string captionOf(const decl::Node& tileNode) {
    return tileNode.children[1].node()->text;
}

} // namespace

class LayoutPreviewTest : public LayoutEditorTest {};

TEST_F(LayoutPreviewTest, TheBoxKeepsTheDisplaysClampedRatioCentredInTheArea) {
    struct RatioCase {
        tilmora::Rect bounds;
        double ratio;
    };
    for (const auto& c : std::vector<RatioCase>{{{0, 0, 1600, 0}, 16.0 / 9.0},
                                                {{0, 0, 5000, 1000}, 4.0},
                                                {{0, 0, 4000, 1000}, 4.0},
                                                {{0, 0, 1000, 3000}, 0.5},
                                                {{0, 0, 900, 1600}, 0.5625},
                                                {{0, 25, 1440, 875}, 1440.0 / 875.0}}) {
        EXPECT_DOUBLE_EQ(LayoutPreviewView::aspectRatio(c.bounds), c.ratio);
    }
    struct BoxCase {
        ui::Size area;
        double ratio;
        ui::Rect box;
    };
    for (const auto& c : std::vector<BoxCase>{{{1000, 400}, 16.0 / 9.0, {1000 / 2.0 - 355.5555555, 0, 711.111111, 400}},
                                              {{500, 400}, 16.0 / 9.0, {0, 59.375, 500, 281.25}},
                                              {{600, 300}, 2, {0, 0, 600, 300}},
                                              {{500, 320}, 0.5, {170, 0, 160, 320}}}) {
        ui::Rect box = LayoutPreviewView::boxRect(c.area, c.ratio);
        EXPECT_NEAR(box.origin.x, c.box.origin.x, 1e-3);
        EXPECT_NEAR(box.origin.y, c.box.origin.y, 1e-3);
        EXPECT_NEAR(box.size.width, c.box.size.width, 1e-3);
        EXPECT_NEAR(box.size.height, c.box.size.height, 1e-3);
    }
    EXPECT_NEAR(LayoutPreviewView::boxRect({1000, 400}, 16.0 / 9.0).origin.x, 144.444, 1e-3);
}

TEST_F(LayoutPreviewTest, TheSelectedTileIsTintedBorderedAndDrawnAboveTheOthers) {
    auto m = std::make_shared<tilmora::LayoutEditorViewModel>(display("1", {0, 0, 1600, 900}), layoutStore);
    auto root = std::make_shared<PreviewHolder>(m);
    decl::HostingView host(root, {0, 0, 1000, 400});
    decl::ViewDriver driver(host);
    const Tile left = m->layout.get().tiles[0];
    root->selected.set(left.id);
    host.rebuildIfNeeded();

    auto items = canvasItems(driver);
    ASSERT_EQ(items.size(), 4u);
    const ui::Rect box = items[0]->layoutFrame;
    EXPECT_NEAR(box.origin.x, 144.444, 1e-3);
    EXPECT_NEAR(box.size.width, 711.111, 1e-3);
    EXPECT_EQ(items[0]->fill, ui::Color::windowBackgroundColor().withAlphaComponent(0.4));
    ASSERT_TRUE(items[1]->stroke);
    EXPECT_EQ(items[1]->stroke->color, ui::Color::secondaryLabelColor().withAlphaComponent(0.5));
    EXPECT_EQ(items[1]->stroke->lineWidth, 1);
    EXPECT_EQ(items[1]->stroke->dash, (std::vector<double>{4, 4}));
    EXPECT_FALSE(items[1]->stroke->inset);
    EXPECT_EQ(items[1]->layoutFrame, box);

    struct Look {
        std::string caption;
        double tint;
        ui::Color border;
        double width;
        double zIndex;
    };
    // In list order; "Left" (selected) is raised above the other.
    const std::vector<Look> looks = {{"Left", 0.18, ui::Color::controlAccentColor(), 3, 1},
                                     {"Right", 0.08, ui::Color::systemGray().withAlphaComponent(0.8), 1.5, 0}};
    for (size_t i = 0; i < looks.size(); ++i) {
        SCOPED_TRACE(looks[i].caption);
        const decl::Node& tileNode = *items[2 + i];
        EXPECT_EQ(captionOf(tileNode), looks[i].caption);
        EXPECT_EQ(tileNode.zIndex, looks[i].zIndex);
        const decl::Node& shape = *tileNode.children[0].node();
        EXPECT_EQ(shape.fill, ui::Color::controlAccentColor().withAlphaComponent(looks[i].tint));
        ASSERT_TRUE(shape.stroke);
        EXPECT_EQ(shape.stroke->color, looks[i].border);
        EXPECT_EQ(shape.stroke->lineWidth, looks[i].width);
        EXPECT_TRUE(shape.stroke->inset);
        const decl::Node& caption = *tileNode.children[1].node();
        EXPECT_EQ(caption.style.fontRole, "caption");
        EXPECT_EQ(caption.padding, (ui::EdgeInsets{6, 6, 6, 6}));
        ASSERT_EQ(caption.backgrounds.size(), 1u);
        EXPECT_EQ(caption.backgrounds[0].node()->color, ui::Color::textBackgroundColor().withAlphaComponent(0.75));
        EXPECT_EQ(caption.clipCornerRadius, 4);
        // The caption's padded box starts at the tile's top-left corner.
        EXPECT_NEAR(caption.layoutFrame.origin.x - 6, tileNode.layoutFrame.origin.x, 1e-9);
        EXPECT_NEAR(caption.layoutFrame.origin.y - 6, tileNode.layoutFrame.origin.y, 1e-9);
    }
    const ui::Rect leftRect = items[2]->layoutFrame;
    EXPECT_NEAR(leftRect.origin.x, box.origin.x, 1e-9);
    EXPECT_NEAR(leftRect.size.width, box.size.width * 0.5, 1e-9);
    EXPECT_NEAR(leftRect.size.height, box.size.height, 1e-9);

    // A selection that names no tile highlights and raises nothing.
    root->selected.set(TileId(platform::UUID()));
    host.rebuildIfNeeded();
    items = canvasItems(driver);
    for (size_t i : {2u, 3u}) {
        EXPECT_EQ(items[i]->children[0].node()->stroke->lineWidth, 1.5);
        EXPECT_EQ(items[i]->zIndex, 0);
    }
}

TEST_F(LayoutPreviewTest, ATapSelectsTheTileOnTopAndATapOutsideEveryTileChangesNothing) {
    Tile a = tile({0, 0, 0.6, 1}, "A");
    Tile b = tile({0.4, 0, 0.6, 1}, "B");
    layoutStore->layouts = {layoutOf("1", {a, b})};
    auto m = std::make_shared<tilmora::LayoutEditorViewModel>(display("1", {0, 0, 1600, 900}), layoutStore);
    auto root = std::make_shared<PreviewHolder>(m);
    decl::HostingView host(root, {0, 0, 1000, 400});
    decl::ViewDriver driver(host);
    const ui::Rect box = LayoutPreviewView::boxRect({1000, 400}, 16.0 / 9.0);
    const ui::Point middle{box.origin.x + box.size.width * 0.5, box.origin.y + box.size.height * 0.5};

    struct TapCase {
        std::string name;
        std::optional<TileId> before;
        ui::Point at;
        std::optional<TileId> after;
    };
    const std::vector<TapCase> cases = {
        {"nothing selected: the later tile is on top", std::nullopt, middle, b.id},
        {"A selected: A is on top", a.id, middle, a.id},
        {"only B there", a.id, {box.origin.x + box.size.width * 0.9, middle.y}, b.id},
        {"left of the box", a.id, {box.origin.x - 20, middle.y}, a.id},
        {"outside everything with nothing selected", std::nullopt, {5, 5}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        root->selected.set(c.before);
        host.rebuildIfNeeded();
        driver.tap("layout.preview", c.at);
        EXPECT_EQ(root->selected.get(), c.after);
    }
}
