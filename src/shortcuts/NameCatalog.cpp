#include "shortcuts/Name.hpp"

namespace tilmora::GlobalShortcuts {

const Name& Name::snapLeftHalf() {
    static const Name name("snap-left-half");
    return name;
}
const Name& Name::snapRightHalf() {
    static const Name name("snap-right-half");
    return name;
}
const Name& Name::snapTopHalf() {
    static const Name name("snap-top-half");
    return name;
}
const Name& Name::snapBottomHalf() {
    static const Name name("snap-bottom-half");
    return name;
}
const Name& Name::snapLeftThird() {
    static const Name name("snap-left-third");
    return name;
}
const Name& Name::snapMiddleThird() {
    static const Name name("snap-middle-third");
    return name;
}
const Name& Name::snapRightThird() {
    static const Name name("snap-right-third");
    return name;
}
const Name& Name::snapLeftTwoThirds() {
    static const Name name("snap-left-two-thirds");
    return name;
}
const Name& Name::snapRightTwoThirds() {
    static const Name name("snap-right-two-thirds");
    return name;
}
const Name& Name::snapTopLeft() {
    static const Name name("snap-top-left");
    return name;
}
const Name& Name::snapTopRight() {
    static const Name name("snap-top-right");
    return name;
}
const Name& Name::snapBottomLeft() {
    static const Name name("snap-bottom-left");
    return name;
}
const Name& Name::snapBottomRight() {
    static const Name name("snap-bottom-right");
    return name;
}
const Name& Name::snapCenter() {
    static const Name name("snap-center");
    return name;
}
const Name& Name::snapMaximize() {
    static const Name name("snap-maximize");
    return name;
}
const Name& Name::snapCenterHalf() {
    static const Name name("snap-center-half");
    return name;
}
const Name& Name::snapCenterTwoThirds() {
    static const Name name("snap-center-two-thirds");
    return name;
}
const Name& Name::snapCenterThreeFourths() {
    static const Name name("snap-center-three-fourths");
    return name;
}
const Name& Name::snapAlmostMaximize() {
    static const Name name("snap-almost-maximize");
    return name;
}
const Name& Name::snapMaximizeHeight() {
    static const Name name("snap-maximize-height");
    return name;
}
const Name& Name::snapSmaller() {
    static const Name name("snap-smaller");
    return name;
}
const Name& Name::snapLarger() {
    static const Name name("snap-larger");
    return name;
}
const Name& Name::snapRestore() {
    static const Name name("snap-restore");
    return name;
}
const Name& Name::nextDisplay() {
    static const Name name("next-display");
    return name;
}
const Name& Name::previousDisplay() {
    static const Name name("previous-display");
    return name;
}
const Name& Name::moveToEdgeLeft() {
    static const Name name("move-to-edge-left");
    return name;
}
const Name& Name::moveToEdgeRight() {
    static const Name name("move-to-edge-right");
    return name;
}
const Name& Name::moveToEdgeUp() {
    static const Name name("move-to-edge-up");
    return name;
}
const Name& Name::moveToEdgeDown() {
    static const Name name("move-to-edge-down");
    return name;
}
const Name& Name::firstQuarter() {
    static const Name name("first-quarter");
    return name;
}
const Name& Name::secondQuarter() {
    static const Name name("second-quarter");
    return name;
}
const Name& Name::thirdQuarter() {
    static const Name name("third-quarter");
    return name;
}
const Name& Name::lastQuarter() {
    static const Name name("last-quarter");
    return name;
}
const Name& Name::firstThreeQuarters() {
    static const Name name("first-three-quarters");
    return name;
}
const Name& Name::lastThreeQuarters() {
    static const Name name("last-three-quarters");
    return name;
}
const Name& Name::topLeftSixth() {
    static const Name name("top-left-sixth");
    return name;
}
const Name& Name::topCenterSixth() {
    static const Name name("top-center-sixth");
    return name;
}
const Name& Name::topRightSixth() {
    static const Name name("top-right-sixth");
    return name;
}
const Name& Name::bottomLeftSixth() {
    static const Name name("bottom-left-sixth");
    return name;
}
const Name& Name::bottomCenterSixth() {
    static const Name name("bottom-center-sixth");
    return name;
}
const Name& Name::bottomRightSixth() {
    static const Name name("bottom-right-sixth");
    return name;
}
const Name& Name::fullScreenLeftHalf() {
    static const Name name("full-screen-left-half");
    return name;
}
const Name& Name::fullScreenRightHalf() {
    static const Name name("full-screen-right-half");
    return name;
}
const Name& Name::nativeFullScreen() {
    static const Name name("native-full-screen");
    return name;
}
const Name& Name::grid1x2() {
    static const Name name("grid-1x2");
    return name;
}
const Name& Name::grid1x3() {
    static const Name name("grid-1x3");
    return name;
}
const Name& Name::grid2x1() {
    static const Name name("grid-2x1");
    return name;
}
const Name& Name::grid3x1() {
    static const Name name("grid-3x1");
    return name;
}
const Name& Name::grid2x2() {
    static const Name name("grid-2x2");
    return name;
}
const Name& Name::grid3x3() {
    static const Name name("grid-3x3");
    return name;
}
const Name& Name::grid4x4() {
    static const Name name("grid-4x4");
    return name;
}
const Name& Name::grid6x4() {
    static const Name name("grid-6x4");
    return name;
}
const Name& Name::grid8x2() {
    static const Name name("grid-8x2");
    return name;
}
const Name& Name::toggleSnapBar() {
    static const Name name("toggle-snap-bar");
    return name;
}
const Name& Name::toggleSnapping() {
    static const Name name("toggle-snapping");
    return name;
}
const Name& Name::showSnapshotManager() {
    static const Name name("show-snapshot-manager");
    return name;
}
const Name& Name::openPreferences() {
    static const Name name("open-preferences");
    return name;
}
const Name& Name::openHelp() {
    static const Name name("open-help");
    return name;
}
const Name& Name::quitApp() {
    static const Name name("quit-app");
    return name;
}
const Name& Name::toggleIntegrateStageManager() {
    static const Name name("toggle-integrate-stage-manager");
    return name;
}
const Name& Name::toggleIntegrateMissionControl() {
    static const Name name("toggle-integrate-mission-control");
    return name;
}

const std::vector<std::reference_wrapper<const Name>>& Name::catalog() {
    static const std::vector<std::reference_wrapper<const Name>> names{
        std::cref(snapLeftHalf()),
        std::cref(snapRightHalf()),
        std::cref(snapTopHalf()),
        std::cref(snapBottomHalf()),
        std::cref(snapLeftThird()),
        std::cref(snapMiddleThird()),
        std::cref(snapRightThird()),
        std::cref(snapLeftTwoThirds()),
        std::cref(snapRightTwoThirds()),
        std::cref(snapTopLeft()),
        std::cref(snapTopRight()),
        std::cref(snapBottomLeft()),
        std::cref(snapBottomRight()),
        std::cref(snapCenter()),
        std::cref(snapMaximize()),
        std::cref(snapCenterHalf()),
        std::cref(snapCenterTwoThirds()),
        std::cref(snapCenterThreeFourths()),
        std::cref(snapAlmostMaximize()),
        std::cref(snapMaximizeHeight()),
        std::cref(snapSmaller()),
        std::cref(snapLarger()),
        std::cref(snapRestore()),
        std::cref(nextDisplay()),
        std::cref(previousDisplay()),
        std::cref(moveToEdgeLeft()),
        std::cref(moveToEdgeRight()),
        std::cref(moveToEdgeUp()),
        std::cref(moveToEdgeDown()),
        std::cref(firstQuarter()),
        std::cref(secondQuarter()),
        std::cref(thirdQuarter()),
        std::cref(lastQuarter()),
        std::cref(firstThreeQuarters()),
        std::cref(lastThreeQuarters()),
        std::cref(topLeftSixth()),
        std::cref(topCenterSixth()),
        std::cref(topRightSixth()),
        std::cref(bottomLeftSixth()),
        std::cref(bottomCenterSixth()),
        std::cref(bottomRightSixth()),
        std::cref(fullScreenLeftHalf()),
        std::cref(fullScreenRightHalf()),
        std::cref(nativeFullScreen()),
        std::cref(grid1x2()),
        std::cref(grid1x3()),
        std::cref(grid2x1()),
        std::cref(grid3x1()),
        std::cref(grid2x2()),
        std::cref(grid3x3()),
        std::cref(grid4x4()),
        std::cref(grid6x4()),
        std::cref(grid8x2()),
        std::cref(toggleSnapBar()),
        std::cref(toggleSnapping()),
        std::cref(showSnapshotManager()),
        std::cref(openPreferences()),
        std::cref(openHelp()),
        std::cref(quitApp()),
        std::cref(toggleIntegrateStageManager()),
        std::cref(toggleIntegrateMissionControl()),
    };
    return names;
}

} // namespace tilmora::GlobalShortcuts
