#include "model/PresetNormalization.hpp"
#include "model/ScreenLayoutEntry.hpp"
#include "support/TableRow.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace tilmora;

TEST(PresetNormalization, CountsAtLeastOneAndSpacingsNeverNegativeOrNaN) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    using Preset = ScreenLayoutEntry::PresetModel;
    const testsupport::TableRow<Preset, Preset> cases[] = {
        {"usable values stay", {3, 4, 8, 2.5}, {3, 4, 8, 2.5}},
        {"zero counts become 1", {0, 0, 0, 0}, {1, 1, 0, 0}},
        {"negative counts become 1", {-5, std::numeric_limits<std::int64_t>::min(), 1, 1}, {1, 1, 1, 1}},
        {"negative spacings become 0", {2, 2, -10, -0.5}, {2, 2, 0, 0}},
        {"NaN spacings become 0", {2, 3, nan, nan}, {2, 3, 0, 0}},
        {"negative infinity becomes 0", {2, 2, -inf, -inf}, {2, 2, 0, 0}},
        // Left for the grid's layout to refuse (it lays these out as its 2 x 2 fallback).
        {"infinite spacing passes", {2, 2, inf, inf}, {2, 2, inf, inf}},
        {"huge counts pass", {1000, 65, 0, 0}, {1000, 65, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.given.normalized(), c.expected);
        EXPECT_EQ(c.given.normalized().normalized(), c.expected) << "normalizing twice changes nothing";
    }
    static_assert(PresetNormalization::count(0) == 1 && PresetNormalization::spacing(-1) == 0);
}
