#include "snapshots/SavedDisplayIdentity.hpp"
#include "snapshots/SnapshotBaselinePlanner.hpp"
#include "snapshots/SnapshotWindowGeometry.hpp"
#include "snapshots/SnapshotWindowRecord.hpp"
#include "support/TableRow.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <utility>

namespace tilmora {
namespace {

using platform::CGRect;
namespace Geometry = SnapshotWindowGeometry;

SnapshotWindowRecord record(double x, double y, double w, double h, CGRect frame,
                            std::optional<std::string> bundle = std::nullopt) {
    SnapshotWindowRecord r;
    r.xPosition = x;
    r.yPosition = y;
    r.width = w;
    r.height = h;
    r.originalFrame = frame;
    r.bundleIdentifier = std::move(bundle);
    return r;
}

/// A row of a geometry table: what the function under test is given and the rectangle it returns.
template <class Given>
using RectCase = testsupport::TableRow<Given, CGRect>;

void expectRect(const CGRect& actual, const CGRect& expected) {
    EXPECT_DOUBLE_EQ(actual.origin.x, expected.origin.x);
    EXPECT_DOUBLE_EQ(actual.origin.y, expected.origin.y);
    EXPECT_DOUBLE_EQ(actual.size.width, expected.size.width);
    EXPECT_DOUBLE_EQ(actual.size.height, expected.size.height);
}

TEST(SnapshotWindowRecordTest, ReadsTheSavedFrameFromTheRow) {
    WindowAttributes w;
    w.xPosition = 10;
    w.yPosition = 20;
    w.width = 300;
    w.height = 200;
    w.windowID = WindowManager::packWindowID(-1440, 900);
    w.originalScreenWidth = 1440;
    w.originalScreenHeight = 875;
    w.bundleIdentifier = "com.example.notes";
    const SnapshotWindowRecord r(w);
    EXPECT_EQ(r.originalFrame, (CGRect{-1440, 900, 1440, 875}));
    EXPECT_EQ(r.xPosition, 10);
    EXPECT_EQ(r.height, 200);
    EXPECT_EQ(r.bundleIdentifier, "com.example.notes");
}

TEST(SnapshotWindowGeometryTest, NormalizedRect) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const CGRect frame{0, 0, 1000, 800};
    const RectCase<SnapshotWindowRecord> cases[] = {
        {"relative position", record(100, 50, 400, 300, frame), {0.1, 0.5625, 0.4, 0.375}},
        {"x beyond the frame reads as absolute",
         record(1500, 50, 400, 300, frame),
         {0.6, 0.0625, 0.4, 0.375}},
        {"filling the visible frame", record(0, 0, 1440, 875, {0, 25, 1440, 875}), {0, 0, 1, 1}},
        {"zero-sized saved frame", record(100, 50, 400, 300, {0, 0, 0, 0}), {0, 0, 1, 1}},
        {"2 points outside still relative", record(-2, 802, 400, 300, frame), {0, 0, 0.4, 0.375}},
        {"absolute on a display to the left",
         record(-1340, 1000, 400, 300, {-1440, 900, 1440, 900}),
         {100.0 / 1440, 100.0 / 900, 400.0 / 1440, 300.0 / 900}},
        {"larger than the frame", record(0, 0, 2000, 1600, frame), {0, 0, 1, 1}},
        {"NaN position", record(nan, nan, 400, 300, frame), {0, 0.625, 0.4, 0.375}},
        {"NaN size", record(0, 0, nan, nan, frame), {0, 0, 1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CGRect n = Geometry::normalizedRect(c.given);
        expectRect(n, c.expected);
        EXPECT_GE(n.origin.x, 0);
        EXPECT_GE(n.origin.y, 0);
        EXPECT_LE(n.origin.x + n.size.width, 1 + 1e-12);
        EXPECT_LE(n.origin.y + n.size.height, 1 + 1e-12);
    }
}

TEST(SnapshotWindowGeometryTest, TargetRectScalesWithAMinimumSizeAndStaysInside) {
    const CGRect frame{0, 0, 1000, 800};
    const CGRect v{0, 0, 1280, 800};
    // Each row gives the saved record and the visible frame it is restored into.
    const RectCase<std::pair<SnapshotWindowRecord, CGRect>> cases[] = {
        {"small window grows to the minimum", {record(0, 0, 100, 80, frame), v}, {0, 640, 220, 160}},
        {"VS Code minimum", {record(0, 0, 100, 80, frame, "com.microsoft.VSCode"), v}, {0, 440, 500, 360}},
        {"other bundle, same as none",
         {record(0, 0, 100, 80, frame, "com.microsoft.VSCodeInsiders"), v},
         {0, 640, 220, 160}},
        {"display narrower than the minimum",
         {record(0, 0, 100, 80, frame), {0, 0, 200, 800}},
         {0, 640, 200, 160}},
        {"moved left, not shrunk", {record(900, 0, 100, 400, frame), v}, {1060, 400, 220, 400}},
        {"offset visible frame",
         {record(100, 50, 400, 300, frame), {1440, 25, 1920, 1055}},
         {1440 + 192, 25 + 0.5625 * 1055, 768, 0.375 * 1055}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto& [saved, visible] = c.given;
        expectRect(Geometry::targetRect(saved, CGRect{0, 0, 9999, 9999}, visible), c.expected);
    }
}

TEST(SnapshotWindowGeometryTest, ClampPreservingSize) {
    const CGRect v{100, 100, 1000, 800};
    const RectCase<CGRect> cases[] = {
        {"inside stays", {200, 200, 300, 300}, {200, 200, 300, 300}},
        {"over the right edge moves left", {1000, 200, 300, 300}, {800, 200, 300, 300}},
        {"below the bottom moves up", {200, 0, 300, 300}, {200, 100, 300, 300}},
        {"wider than the bounds takes their width and left edge", {0, 200, 1500, 300}, {100, 200, 1000, 300}},
        {"over the top moves down", {200, 800, 300, 300}, {200, 600, 300, 300}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expectRect(Geometry::clampPreservingSize(c.given, v), c.expected);
    }
}

TEST(SnapshotBaselinePlannerTest, GroupsKeysByTheTextBeforeTheFirstBar) {
    const CGRect r1{1, 1, 1, 1}, r2{2, 2, 2, 2}, r3{3, 3, 3, 3}, r4{4, 4, 4, 4}, r5{5, 5, 5, 5};
    const auto groups = SnapshotBaselinePlanner::groupedTargets(
        {{"a|b|c", r1}, {"a|", r2}, {"|b", r3}, {"ab", r4}, {"|", r5}, {"", r5}});
    ASSERT_EQ(groups.size(), 1u);
    ASSERT_EQ(groups.at("a").size(), 1u);
    EXPECT_EQ(groups.at("a")[0].first, "b|c");
    EXPECT_EQ(groups.at("a")[0].second, r1);

    const auto two = SnapshotBaselinePlanner::groupedTargets(
        {{"com.example.notes|Doc", r1}, {"com.example.notes|untitled", r2}, {"com.other|X", r3}});
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two.at("com.example.notes").size(), 2u);
    EXPECT_EQ(two.at("com.other")[0].first, "X");
}

} // namespace
} // namespace tilmora
