#include "shell/AppDelegate.hpp"

#include "shortcuts/Name.hpp"
#include "shortcuts/Registry.hpp"

#include <functional>
#include <utility>

namespace tilmora {

void AppDelegate::registerSnapShortcutHandlers() {
    using N = GlobalShortcuts::Name;
    using K = SnapIconKind;
    using Command = std::function<void(AppDelegate&)>;
    auto kind = [](K k) -> Command { return [k](AppDelegate& s) { s.snapToKind(k); }; };
    auto grid = [](std::int64_t rows, std::int64_t cols) -> Command {
        return [rows, cols](AppDelegate& s) { s.selectGridViaShortcut(rows, cols); };
    };
    // The bindings in registration order; the order also fixes the order in which the chords are
    // first registered with the hot-key engine.
    const std::vector<std::pair<const N*, Command>> bindings = {
        {&N::snapLeftHalf(), kind(K::leftHalf)},
        {&N::snapRightHalf(), kind(K::rightHalf)},
        {&N::snapTopHalf(), kind(K::topHalf)},
        {&N::snapBottomHalf(), kind(K::bottomHalf)},
        {&N::snapLeftThird(), kind(K::leftThird)},
        {&N::snapMiddleThird(), kind(K::middleThird)},
        {&N::snapRightThird(), kind(K::rightThird)},
        {&N::snapLeftTwoThirds(), kind(K::leftTwoThirds)},
        {&N::snapRightTwoThirds(), kind(K::rightTwoThirds)},
        {&N::snapTopLeft(), kind(K::topLeft)},
        {&N::snapTopRight(), kind(K::topRight)},
        {&N::snapBottomLeft(), kind(K::bottomLeft)},
        {&N::snapBottomRight(), kind(K::bottomRight)},
        {&N::snapCenter(), kind(K::center)},
        {&N::snapMaximize(), kind(K::maximize)},
        {&N::snapCenterHalf(), kind(K::centerHalf)},
        {&N::snapCenterTwoThirds(), kind(K::centerTwoThirds)},
        {&N::snapCenterThreeFourths(), kind(K::centerThreeFourths)},
        {&N::nativeFullScreen(), [](AppDelegate& s) { s.enterMacFullScreen(); }},
        {&N::fullScreenLeftHalf(), [](AppDelegate& s) { s.snapFullScreenHalf(K::fullScreenLeftHalf); }},
        {&N::fullScreenRightHalf(), [](AppDelegate& s) { s.snapFullScreenHalf(K::fullScreenRightHalf); }},
        {&N::snapAlmostMaximize(), kind(K::almostMaximize)},
        {&N::snapMaximizeHeight(), [](AppDelegate& s) { s.snapMaximizeHeight(); }},
        {&N::snapSmaller(), [](AppDelegate& s) { s.resizeRelative(0.9); }},
        {&N::snapLarger(), [](AppDelegate& s) { s.resizeRelative(1.1); }},
        {&N::snapRestore(), [](AppDelegate& s) { s.snapRestoreLast(); }},
        {&N::nextDisplay(), [](AppDelegate& s) { s.moveToAdjacentDisplay(1); }},
        {&N::previousDisplay(), [](AppDelegate& s) { s.moveToAdjacentDisplay(-1); }},
        {&N::moveToEdgeLeft(), [](AppDelegate& s) { s.moveToEdge(HDir::left, std::nullopt); }},
        {&N::moveToEdgeRight(), [](AppDelegate& s) { s.moveToEdge(HDir::right, std::nullopt); }},
        {&N::moveToEdgeUp(), [](AppDelegate& s) { s.moveToEdge(std::nullopt, VDir::top); }},
        {&N::moveToEdgeDown(), [](AppDelegate& s) { s.moveToEdge(std::nullopt, VDir::bottom); }},
        {&N::firstQuarter(), kind(K::firstQuarter)},
        {&N::secondQuarter(), kind(K::secondQuarter)},
        {&N::thirdQuarter(), kind(K::thirdQuarter)},
        {&N::lastQuarter(), kind(K::lastQuarter)},
        {&N::firstThreeQuarters(), kind(K::firstThreeQuarters)},
        {&N::lastThreeQuarters(), kind(K::lastThreeQuarters)},
        {&N::topLeftSixth(), kind(K::topLeftSixth)},
        {&N::topCenterSixth(), kind(K::topCenterSixth)},
        {&N::topRightSixth(), kind(K::topRightSixth)},
        {&N::bottomLeftSixth(), kind(K::bottomLeftSixth)},
        {&N::bottomCenterSixth(), kind(K::bottomCenterSixth)},
        {&N::bottomRightSixth(), kind(K::bottomRightSixth)},
        {&N::grid1x2(), grid(1, 2)},
        {&N::grid1x3(), grid(1, 3)},
        {&N::grid2x1(), grid(2, 1)},
        {&N::grid3x1(), grid(3, 1)},
        {&N::grid2x2(), grid(2, 2)},
        {&N::grid3x3(), grid(3, 3)},
        {&N::grid4x4(), grid(4, 4)},
        {&N::grid6x4(), grid(6, 4)},
        {&N::grid8x2(), grid(8, 2)},
        {&N::toggleSnapBar(), [](AppDelegate& s) { s.toggleSnapBar(nullptr); }},
        {&N::toggleSnapping(), [](AppDelegate& s) { s.toggleSnapping(nullptr); }},
        {&N::showSnapshotManager(), [](AppDelegate& s) { s.showWindow(); }},
        {&N::openPreferences(), [](AppDelegate& s) { s.openPreferences(nullptr); }},
        {&N::openHelp(), [](AppDelegate& s) { s.openHelp(nullptr); }},
        {&N::quitApp(), [](AppDelegate& s) { s.quitApp(); }},
        {&N::toggleIntegrateMissionControl(), [](AppDelegate& s) { s.toggleIntegrateMissionControl(nullptr); }},
        {&N::toggleIntegrateStageManager(), [](AppDelegate& s) { s.toggleIntegrateStageManager(nullptr); }},
    };
    for (const auto& [name, command] : bindings) {
        // Each action holds the shell weakly: a press after the shell is gone does nothing.
        GlobalShortcuts::onKeyDown(*name, [weakSelf = weak(), command = command] {
            if (auto self = weakSelf.lock()) command(*self);
        });
    }
}

} // namespace tilmora
