#include "snapping/RoriDeru.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace tilmora {
namespace {

using Gaps = RoriDeru::GapSettings;

Gaps uniformGaps(double gap, bool includeEdges = false) {
    Gaps gaps;
    gaps.horizontal = gap;
    gaps.vertical = gap;
    gaps.left = gaps.right = gaps.top = gaps.bottom = includeEdges;
    return gaps;
}

struct KindCase {
    SnapIconKind kind;
    Rect frame;
    Gaps gaps;
    Rect expected;
};

class KindRect : public ::testing::TestWithParam<KindCase> {};

TEST_P(KindRect, MatchesPlacement) {
    const auto& c = GetParam();
    const Rect r = RoriDeru::computeRectForVisible(c.kind, c.frame, c.gaps);
    EXPECT_DOUBLE_EQ(r.x, c.expected.x) << caseName(c.kind);
    EXPECT_DOUBLE_EQ(r.y, c.expected.y) << caseName(c.kind);
    EXPECT_DOUBLE_EQ(r.width, c.expected.width) << caseName(c.kind);
    EXPECT_DOUBLE_EQ(r.height, c.expected.height) << caseName(c.kind);
}

const Rect screen{0, 0, 1440, 900};
const Rect offset{100, 50, 1200, 900};

INSTANTIATE_TEST_SUITE_P(
    Placements, KindRect,
    ::testing::Values(
        // Upper kinds start at the vertical middle (y up).
        KindCase{SnapIconKind::topHalf, screen, {}, {0, 450, 1440, 450}},
        KindCase{SnapIconKind::bottomRight, screen, {}, {720, 0, 720, 450}},
        KindCase{SnapIconKind::lastQuarter, offset, {}, {1000, 50, 300, 900}},
        KindCase{SnapIconKind::lastThreeQuarters, offset, {}, {400, 50, 900, 900}},
        KindCase{SnapIconKind::topRightSixth, offset, {}, {900, 500, 400, 450}},
        KindCase{SnapIconKind::leftThird, {0, 0, 1441, 900}, {}, {0, 0, 1441.0 / 3, 900}},
        KindCase{SnapIconKind::rightTwoThirds, {0, 0, 1441, 900}, {}, {1441.0 / 3, 0, 2882.0 / 3, 900}},
        KindCase{SnapIconKind::center, screen, {}, {244.8, 153, 950.4, 594}},
        // Centred columns round only their width and never take gaps.
        KindCase{SnapIconKind::centerHalf, {0, 0, 1441, 900}, uniformGaps(10, true), {360, 0, 721, 900}},
        KindCase{SnapIconKind::centerTwoThirds, {0, 0, 1441, 900}, {}, {240, 0, 961, 900}},
        KindCase{SnapIconKind::centerThreeFourths, {0, 0, 1441, 900}, {}, {180, 0, 1081, 900}},
        KindCase{SnapIconKind::almostMaximize, offset, {}, {160, 95, 1080, 810}},
        // Whole-frame kinds: gaps only with the maximize switch, and then no inset on screen edges
        // unless the edges are switched on.
        KindCase{SnapIconKind::maximize, screen, uniformGaps(10, true), screen},
        KindCase{SnapIconKind::maximize, screen,
                 [] {
                     auto g = uniformGaps(10);
                     g.applyToMaximize = true;
                     return g;
                 }(),
                 screen},
        KindCase{SnapIconKind::fullScreenLeftHalf,
                 screen,
                 [] {
                     auto g = uniformGaps(10, true);
                     g.applyToMaximize = true;
                     return g;
                 }(),
                 {5, 5, 1430, 890}},
        KindCase{SnapIconKind::grid3x3, offset, uniformGaps(10, true), offset},
        KindCase{SnapIconKind::grid8x2, screen, uniformGaps(40), screen},
        // Gaps: inner sides get half a gap, screen edges only when switched on.
        KindCase{SnapIconKind::leftHalf, screen, uniformGaps(10), {0, 0, 715, 900}},
        KindCase{SnapIconKind::leftHalf, screen, uniformGaps(10, true), {5, 5, 710, 890}},
        KindCase{SnapIconKind::topRight, screen, uniformGaps(10), {725, 455, 715, 445}},
        KindCase{SnapIconKind::topHalf,
                 screen,
                 [] {
                     auto g = uniformGaps(10);
                     g.horizontal = 0;
                     return g;
                 }(),
                 {0, 455, 1440, 445}},
        KindCase{SnapIconKind::middleThird, {0, 0, 1200, 900}, uniformGaps(10), {405, 0, 390, 900}},
        // A gap beyond a quarter of the frame's smaller side (225 here) counts as that quarter.
        KindCase{SnapIconKind::lastQuarter, screen, uniformGaps(1e308), {1192.5, 0, 247.5, 900}},
        KindCase{SnapIconKind::bottomLeft,
                 screen,
                 [] {
                     auto g = uniformGaps(10);
                     g.left = true;
                     return g;
                 }(),
                 {5, 0, 710, 445}}),
    [](const ::testing::TestParamInfo<KindCase>& info) {
        return std::string(caseName(info.param.kind)) + "_" + std::to_string(info.index);
    });

TEST(ApplyGaps, RaisesNarrowSidesTo50AndClampsAtTheFrame) {
    // A 40-point column in the middle loses 20 points and is raised back to 50.
    const Rect frame{0, 0, 1000, 800};
    const Rect narrow = RoriDeru::applyGaps({500, 0, 40, 800}, frame, uniformGaps(20));
    EXPECT_EQ(narrow, (Rect{510, 0, 50, 800}));
    // Near the right edge, the raised width would pass the frame: the clamp trims it.
    const Rect atEdge = RoriDeru::applyGaps({975, 0, 25, 800}, frame, uniformGaps(20));
    EXPECT_EQ(atEdge, (Rect{985, 0, 15, 800}));
}

TEST(ApplyGaps, NoGapLeavesTheRectangleAlone) {
    const Rect tiny{990, 10, 20, 5};
    EXPECT_EQ(RoriDeru::applyGaps(tiny, {0, 0, 1000, 800}, uniformGaps(0, true)), tiny);
    EXPECT_EQ(RoriDeru::applyGaps(tiny, {0, 0, 1000, 800}, uniformGaps(-4, true)), tiny);
}

struct ClampCase {
    Rect rect;
    Rect expected;
};

TEST(Clamp, PullsIntoBoundsWithoutNegativeSizes) {
    const Rect bounds{0, 0, 1000, 800};
    const ClampCase cases[] = {
        {{-50, -20, 300, 200}, {0, 0, 300, 200}},      // moved right and up, size kept
        {{900, 700, 300, 200}, {900, 700, 100, 100}},  // trimmed at right and top
        {{-10, -10, 2000, 2000}, {0, 0, 1000, 800}},   // larger than bounds: bounds
        {{1200, 100, 300, 200}, {700, 100, 300, 200}}, // beyond the right edge: moved back inside
        {{100, 900, 300, 200}, {100, 600, 300, 200}},  // beyond the top edge: moved back inside
        {{1500, 1000, 2000, 50}, {0, 750, 1000, 50}},  // beyond and wider than the bounds
        {{1000, 100, 300, 200}, {1000, 100, 0, 200}},  // exactly on the edge: zero width, as before
    };
    for (const auto& c : cases) {
        const Rect r = RoriDeru::clamp(c.rect, bounds);
        EXPECT_EQ(r, c.expected) << c.rect.x << "," << c.rect.y;
        EXPECT_GE(r.width, 0);
        EXPECT_GE(r.height, 0);
    }
}

TEST(AlignRectToPixelEdges, SnapsEdgesToTheScreensPixels) {
    const Rect r{10.3, 20.74, 100.2, 50.5};
    EXPECT_EQ(RoriDeru::alignRectToPixelEdges(r, 2), (Rect{10.5, 20.5, 100, 50.5}));
    for (double scale : {0.0, 0.5, 1.0, std::nan("")}) {
        EXPECT_EQ(RoriDeru::alignRectToPixelEdges(r, scale), (Rect{10, 21, 101, 50})) << scale;
    }
    // Half points round away from zero; negative sizes become 0.
    EXPECT_EQ(RoriDeru::alignRectToPixelEdges({-2.5, 0, 5, 0}, 1), (Rect{-3, 0, 6, 0}));
    EXPECT_EQ(RoriDeru::alignRectToPixelEdges({10, 10, -4, -4}, 1), (Rect{10, 10, 0, 0}));
}

TEST(ComputeRect, EveryKindStaysInsideTheFrameWithGaps) {
    const Rect frame{-1920, 37, 1920, 1043};
    auto gaps = uniformGaps(12, true);
    gaps.applyToMaximize = true;
    for (SnapIconKind kind : allSnapIconKinds) {
        const Rect r = RoriDeru::computeRectForVisible(kind, frame, gaps);
        EXPECT_GE(r.x, frame.x - 1e-9) << caseName(kind);
        EXPECT_GE(r.y, frame.y - 1e-9) << caseName(kind);
        EXPECT_LE(r.x + r.width, frame.x + frame.width + 1e-9) << caseName(kind);
        EXPECT_LE(r.y + r.height, frame.y + frame.height + 1e-9) << caseName(kind);
        EXPECT_GT(r.width, 0) << caseName(kind);
    }
}

} // namespace
} // namespace tilmora
