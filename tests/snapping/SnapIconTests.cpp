#include "snapping/SnapIconFactory.hpp"

#include <gtest/gtest.h>

namespace tilmora {
namespace {

using Operation = SnapIcon::Command::Operation;

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
    const SnapIcon icon = SnapIconFactory::image(SnapIconKind::leftHalf, 20, 20);
    ASSERT_EQ(icon.commands.size(), 3u);
    EXPECT_EQ(icon.commands[0].operation, Operation::fillRect);
    EXPECT_EQ(icon.commands[0].rect, (Rect{1, 1, 18, 18}));
    EXPECT_EQ(icon.commands[0].color, SnapIcon::Color::calibratedWhite(0.92, 1));
    EXPECT_EQ(icon.commands[1].operation, Operation::strokeRect);
    EXPECT_EQ(icon.commands[1].color, SnapIcon::Color::calibratedWhite(0.75, 1));
    EXPECT_EQ(icon.commands[2].operation, Operation::fillRect);
    EXPECT_EQ(icon.commands[2].rect, (Rect{1, 1, 9, 18}));
    EXPECT_EQ(icon.commands[2].color, SnapIcon::Color::systemBlue());
    // A second call draws a separate, identical picture.
    EXPECT_EQ(SnapIconFactory::image(SnapIconKind::leftHalf, 20, 20), icon);
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
        const SnapIcon icon = SnapIconFactory::image(c.kind, 30, 22);
        ASSERT_EQ(icon.commands.size(), 3u) << caseName(c.kind);
        const auto& path = icon.commands[2];
        EXPECT_EQ(path.operation, Operation::strokeLines);
        int vertical = 0, horizontal = 0;
        for (const auto& line : path.lines) {
            if (line.x1 == line.x2) {
                ++vertical;
                EXPECT_EQ(line.y1, 1);
                EXPECT_EQ(line.y2, 21);
            } else {
                ++horizontal;
                EXPECT_EQ(line.x1, 1);
                EXPECT_EQ(line.x2, 29);
            }
        }
        EXPECT_EQ(vertical, c.vertical) << caseName(c.kind);
        EXPECT_EQ(horizontal, c.horizontal) << caseName(c.kind);
    }
    const SnapIcon oneByTwo = SnapIconFactory::image(SnapIconKind::grid1x2, 20, 20);
    EXPECT_EQ(oneByTwo.commands[2].lines, (std::vector<SnapIcon::Line>{{10, 1, 10, 19}}));
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
    EXPECT_TRUE(SnapIconFactory::image(SnapIconKind::leftHalf, 1, 20).commands.empty());
    EXPECT_TRUE(SnapIconFactory::image(SnapIconKind::grid2x2, 20, -5).commands.empty());
}

} // namespace
} // namespace tilmora
