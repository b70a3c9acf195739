#include "snapping/SnapIconFactory.hpp"

#include <gtest/gtest.h>

namespace tilmora {
namespace {

using platform::ui::Canvas;
using platform::ui::Color;
using OpKind = Canvas::OpKind;

TEST(SnapIconFactory, GridSpecOnlyForTheNineGridKinds) {
    int grids = 0;
    for (SnapIconKind kind : allSnapIconKinds) {
        if (SnapIconFactory::gridSpec(kind)) ++grids;
    }
    EXPECT_EQ(grids, 9);
    EXPECT_EQ(SnapIconFactory::gridSpec(SnapIconKind::grid1x2), (SnapIconFactory::GridSpec{1, 2}));
    EXPECT_EQ(SnapIconFactory::gridSpec(SnapIconKind::grid2x1), (SnapIconFactory::GridSpec{2, 1}));
    EXPECT_EQ(SnapIconFactory::gridSpec(SnapIconKind::grid6x4), (SnapIconFactory::GridSpec{6, 4}));
    for (SnapIconKind kind : {SnapIconKind::leftHalf, SnapIconKind::maximize, SnapIconKind::macFullScreen,
                              SnapIconKind::fullScreenRightHalf}) {
        EXPECT_FALSE(SnapIconFactory::gridSpec(kind)) << caseName(kind);
    }
}

TEST(SnapIconFactory, LeftHalfIconFillsTheLeftHalfOfTheFrame) {
    const auto icon = SnapIconFactory::image(SnapIconKind::leftHalf, {20, 20});
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->size(), (platform::ui::Size{20, 20}));
    EXPECT_FALSE(icon->isFlipped());
    const auto& ops = icon->drawing();
    ASSERT_EQ(ops.size(), 3u);
    EXPECT_EQ(ops[0].kind, OpKind::fillRect);
    EXPECT_EQ(ops[0].rect, (platform::CGRect{1, 1, 18, 18}));
    EXPECT_EQ(ops[0].color, Color::white(0.92, 1));
    EXPECT_EQ(ops[1].kind, OpKind::strokeRect);
    EXPECT_EQ(ops[1].rect, (platform::CGRect{1, 1, 18, 18}));
    EXPECT_EQ(ops[1].color, Color::white(0.75, 1));
    EXPECT_EQ(ops[1].lineWidth, 1);
    EXPECT_EQ(ops[2].kind, OpKind::fillRect);
    EXPECT_EQ(ops[2].rect, (platform::CGRect{1, 1, 9, 18}));
    EXPECT_EQ(ops[2].color, Color::systemBlue());
    // A second call draws a separate, identical picture.
    const auto again = SnapIconFactory::image(SnapIconKind::leftHalf, {20, 20});
    EXPECT_NE(again, icon);
    EXPECT_EQ(again->drawing(), ops);
}

struct GridLinesCase {
    SnapIconKind kind;
    int vertical;
    int horizontal;
};

TEST(SnapIconFactory, GridIconsDrawInteriorLinesOnly) {
    const GridLinesCase cases[] = {
        {SnapIconKind::grid1x2, 1, 0}, {SnapIconKind::grid2x1, 0, 1}, {SnapIconKind::grid6x4, 3, 5},
        {SnapIconKind::grid8x2, 1, 7}, {SnapIconKind::grid3x3, 2, 2},
    };
    for (const auto& c : cases) {
        const auto icon = SnapIconFactory::image(c.kind, {30, 22});
        const auto& ops = icon->drawing();
        ASSERT_EQ(ops.size(), 3u) << caseName(c.kind);
        EXPECT_EQ(ops[2].kind, OpKind::strokePath);
        EXPECT_EQ(ops[2].color, Color::systemBlue());
        EXPECT_EQ(ops[2].lineWidth, 1);
        int vertical = 0, horizontal = 0;
        for (const auto& [from, to] : ops[2].path.lineSegments()) {
            if (from.x == to.x) {
                ++vertical;
                EXPECT_EQ(from.y, 1);
                EXPECT_EQ(to.y, 21);
            } else {
                ++horizontal;
                EXPECT_EQ(from.x, 1);
                EXPECT_EQ(to.x, 29);
            }
        }
        EXPECT_EQ(vertical, c.vertical) << caseName(c.kind);
        EXPECT_EQ(horizontal, c.horizontal) << caseName(c.kind);
    }
    const auto oneByTwo = SnapIconFactory::image(SnapIconKind::grid1x2, {20, 20});
    EXPECT_EQ(oneByTwo->drawing()[2].path.lineSegments(),
              (std::vector<std::pair<platform::CGPoint, platform::CGPoint>>{{{10, 1}, {10, 19}}}));
    // Fewer than two rows and columns: no lines, nothing stroked.
    Canvas canvas;
    SnapIconFactory::drawGrid(canvas, {0, 0, 10, 10}, 1, 1);
    EXPECT_TRUE(canvas.ops().empty());
}

TEST(SnapIconFactory, HighlightAreas) {
    const Rect r{0, 0, 120, 60};
    const struct {
        SnapIconKind kind;
        Rect expected;
    } cases[] = {
        {SnapIconKind::topRight, {60, 30, 60, 30}},
        {SnapIconKind::rightThird, {80, 0, 40, 60}},
        {SnapIconKind::lastThreeQuarters, {30, 0, 90, 60}},
        {SnapIconKind::bottomCenterSixth, {40, 0, 40, 30}},
        {SnapIconKind::almostMaximize, {6, 3, 108, 54}},
        {SnapIconKind::fullScreenLeftHalf, r},
        {SnapIconKind::fullScreenRightHalf, r},
        {SnapIconKind::macFullScreen, r},
    };
    for (const auto& c : cases) {
        const Rect h = SnapIconFactory::highlightRect(c.kind, r);
        EXPECT_DOUBLE_EQ(h.x, c.expected.x) << caseName(c.kind);
        EXPECT_DOUBLE_EQ(h.y, c.expected.y) << caseName(c.kind);
        EXPECT_DOUBLE_EQ(h.width, c.expected.width) << caseName(c.kind);
        EXPECT_DOUBLE_EQ(h.height, c.expected.height) << caseName(c.kind);
    }
}

TEST(SnapIconFactory, TooSmallSizesDrawNothing) {
    EXPECT_TRUE(SnapIconFactory::image(SnapIconKind::leftHalf, {1, 20})->drawing().empty());
    EXPECT_TRUE(SnapIconFactory::image(SnapIconKind::grid2x2, {20, -5})->drawing().empty());
}

} // namespace
} // namespace tilmora
