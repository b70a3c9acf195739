#include "model/SnapIconKind.hpp"

namespace tilmora {

namespace {

constexpr std::array<std::string_view, snapIconKindCount> caseNames = {
    "leftHalf",
    "rightHalf",
    "topHalf",
    "bottomHalf",
    "topLeft",
    "topRight",
    "bottomLeft",
    "bottomRight",
    "leftThird",
    "middleThird",
    "rightThird",
    "leftTwoThirds",
    "rightTwoThirds",
    "firstQuarter",
    "secondQuarter",
    "thirdQuarter",
    "lastQuarter",
    "firstThreeQuarters",
    "lastThreeQuarters",
    "topLeftSixth",
    "topCenterSixth",
    "topRightSixth",
    "bottomLeftSixth",
    "bottomCenterSixth",
    "bottomRightSixth",
    "centerHalf",
    "centerTwoThirds",
    "centerThreeFourths",
    "center",
    "maximize",
    "almostMaximize",
    "macFullScreen",
    "fullScreenLeftHalf",
    "fullScreenRightHalf",
    "grid1x2",
    "grid1x3",
    "grid2x1",
    "grid3x1",
    "grid2x2",
    "grid3x3",
    "grid4x4",
    "grid6x4",
    "grid8x2",
};

} // namespace

std::string_view caseName(SnapIconKind kind) {
    const auto index = static_cast<std::size_t>(kind);
    return index < caseNames.size() ? caseNames[index] : std::string_view{"unknown"};
}

} // namespace tilmora
