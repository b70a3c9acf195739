#include "model/SnapIconKind.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <unordered_set>

namespace tilmora {
namespace {

// The snap bar lists the kinds in declaration order, and log lines write their case names: both are
// fixed.
TEST(SnapIconKind, FortyThreeKindsInTheirFixedOrder) {
    // The case names in declaration order.
    const std::string expected =
        "leftHalf rightHalf topHalf bottomHalf topLeft topRight bottomLeft bottomRight "
        "leftThird middleThird rightThird leftTwoThirds rightTwoThirds firstQuarter "
        "secondQuarter thirdQuarter lastQuarter firstThreeQuarters lastThreeQuarters "
        "topLeftSixth topCenterSixth topRightSixth bottomLeftSixth bottomCenterSixth "
        "bottomRightSixth centerHalf centerTwoThirds centerThreeFourths center maximize "
        "almostMaximize macFullScreen fullScreenLeftHalf fullScreenRightHalf grid1x2 "
        "grid1x3 grid2x1 grid3x1 grid2x2 grid3x3 grid4x4 grid6x4 grid8x2";
    ASSERT_EQ(allSnapIconKinds.size(), 43u);
    static_assert(snapIconKindCount == 43);
    std::string names;
    for (std::size_t i = 0; i < snapIconKindCount; ++i) {
        EXPECT_EQ(static_cast<std::size_t>(allSnapIconKinds[i]), i);
        names += (i == 0 ? "" : " ") + std::string(caseName(allSnapIconKinds[i]));
    }
    EXPECT_EQ(names, expected);
    EXPECT_EQ(static_cast<int>(SnapIconKind::maximize), 29);
    EXPECT_EQ(static_cast<int>(SnapIconKind::grid8x2), 42);
    std::unordered_set<SnapIconKind> distinct(allSnapIconKinds.begin(), allSnapIconKinds.end());
    EXPECT_EQ(distinct.size(), snapIconKindCount);
}

} // namespace
} // namespace tilmora
