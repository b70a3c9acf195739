#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace tilmora {

/// The named placements of a window on a screen, shared by the snap grid, the snap bar, the status
/// menu and the shortcut handlers. The order of the cases is fixed: components that list kinds (the
/// snap bar's icon row) take them in declaration order. Equality and hashing are by case.
enum class SnapIconKind {
    leftHalf,
    rightHalf,
    topHalf,
    bottomHalf,
    topLeft,
    topRight,
    bottomLeft,
    bottomRight,
    leftThird,
    middleThird,
    rightThird,
    leftTwoThirds,
    rightTwoThirds,
    firstQuarter,
    secondQuarter,
    thirdQuarter,
    lastQuarter,
    firstThreeQuarters,
    lastThreeQuarters,
    topLeftSixth,
    topCenterSixth,
    topRightSixth,
    bottomLeftSixth,
    bottomCenterSixth,
    bottomRightSixth,
    centerHalf,
    centerTwoThirds,
    centerThreeFourths,
    center,
    maximize,
    almostMaximize,
    macFullScreen,
    fullScreenLeftHalf,
    fullScreenRightHalf,
    grid1x2,
    grid1x3,
    grid2x1,
    grid3x1,
    grid2x2,
    grid3x3,
    grid4x4,
    grid6x4,
    grid8x2,
};

/// Number of snap kinds.
inline constexpr std::size_t snapIconKindCount = 43;

/// Every snap kind in declaration order.
inline constexpr std::array<SnapIconKind, snapIconKindCount> allSnapIconKinds = [] {
    std::array<SnapIconKind, snapIconKindCount> kinds{};
    for (std::size_t i = 0; i < snapIconKindCount; ++i)
        kinds[i] = static_cast<SnapIconKind>(i);
    return kinds;
}();

/// The bare case name of a kind ("leftHalf"), as log lines write it.
std::string_view caseName(SnapIconKind kind);

} // namespace tilmora
