#include "snapping/SnapBarItems.hpp"

namespace tilmora {

const std::vector<SnapBarItem>& snapBarItems() {
    using K = SnapIconKind;
    static const std::vector<SnapBarItem> items = {
        {K::leftHalf, "snapLeftHalf", "tt.leftHalf"},
        {K::rightHalf, "snapRightHalf", "tt.rightHalf"},
        {K::topHalf, "snapTopHalf", "tt.topHalf"},
        {K::bottomHalf, "snapBottomHalf", "tt.bottomHalf"},
        {K::topLeft, "snapTopLeft", "tt.topLeft"},
        {K::topRight, "snapTopRight", "tt.topRight"},
        {K::bottomLeft, "snapBottomLeft", "tt.bottomLeft"},
        {K::bottomRight, "snapBottomRight", "tt.bottomRight"},
        {K::leftThird, "snapLeftThird", "tt.leftThird"},
        {K::middleThird, "snapMiddleThird", "tt.middleThird"},
        {K::rightThird, "snapRightThird", "tt.rightThird"},
        {K::leftTwoThirds, "snapLeftTwoThirds", "tt.leftTwoThirds"},
        {K::rightTwoThirds, "snapRightTwoThirds", "tt.rightTwoThirds"},
        {K::centerHalf, "snapCenterHalf", "tt.centerHalf"},
        {K::centerTwoThirds, "snapCenterTwoThirds", "tt.centerTwoThirds"},
        {K::centerThreeFourths, "snapCenterThreeFourths", "tt.centerThreeFourths"},
        {K::center, "snapCenter", "tt.center"},
        {K::maximize, "snapMaximize", "tt.fullScreen"},
        {K::almostMaximize, "snapAlmostMaximise", "tt.almostFullScreen"},
        {K::firstQuarter, "snapFirstQuarter", "tt.firstQuarter"},
        {K::secondQuarter, "snapSecondQuarter", "tt.secondQuarter"},
        {K::thirdQuarter, "snapThirdQuarter", "tt.thirdQuarter"},
        {K::lastQuarter, "snapLastQuarter", "tt.lastQuarter"},
        {K::firstThreeQuarters, "snapFirstThreeQuarters", "tt.firstThreeQuarters"},
        {K::lastThreeQuarters, "snapLastThreeQuarters", "tt.lastThreeQuarters"},
        {K::topLeftSixth, "snapTopLeftSixth", "tt.topLeftSixth"},
        {K::topCenterSixth, "snapTopCenterSixth", "tt.topCenterSixth"},
        {K::topRightSixth, "snapTopRightSixth", "tt.topRightSixth"},
        {K::bottomLeftSixth, "snapBottomLeftSixth", "tt.bottomLeftSixth"},
        {K::bottomCenterSixth, "snapBottomCenterSixth", "tt.bottomCenterSixth"},
        {K::bottomRightSixth, "snapBottomRightSixth", "tt.bottomRightSixth"},
    };
    return items;
}

} // namespace tilmora
