#pragma once

#include "model/Rect.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "snapping/GridPreset.hpp"

#include <cstdint>

namespace tilmora {

class ActiveApplicationTracker;
class OverlayLifecycle;

/// The snap grid's mover of the frontmost (target) window (see `TargetWindow`), through
/// Accessibility: every placement of the snapping engine ends here. The mover keeps the
/// application's minimum size (enlarging the frame about its centre, keeping its aspect), keeps the
/// frame on the device pixels and inside the visible frame of the screen it mostly lies on, writes
/// size and position in both orders until both succeed (at most four attempts), reads the result
/// back and corrects it once. (Restores move windows through `WindowManager::moveAXWindow`.)
///
/// Frames are global (points, origin at the bottom-left of the main display, y up); Accessibility
/// takes the top-left corner y down from the top of the main display. Main thread; blocks it for
/// the fixed waits between writes (20 ms inside each attempt, 15 ms in the correction) on the
/// platform's clock. Prints "[RoriDeru] ..." lines for a missing window and the final frame.
/// Holds no state of its own: the target application comes from the snap grid's tracker of the
/// last other application, and a minimum-size message shows on the display's overlay.
class GridWindowMover {
public:
    /// Shown when a frame had to be enlarged to the application's minimum size.
    static constexpr const char* minimumSizeMessage =
        "Tile is smaller than this app\u2019s minimum size. Snapped to the smallest possible.";
    /// Title and seconds of that message when no overlay of the display can show it.
    static constexpr const char* minimumSizeTitle = "RoriDeru";
    static constexpr double minimumSizeSeconds = 2.5;

    /// Farthest the window may land from the frame on any edge or side without a correction, points.
    static constexpr double correctionTolerance = 0.6;

    /// A mover of the target application's window, which `applications` remembers, whose
    /// minimum-size message shows on `overlays`' overlay of the display.
    GridWindowMover(ActiveApplicationTracker& applications, const OverlayLifecycle& overlays)
        : applications_(applications)
        , overlays_(overlays) {}
    GridWindowMover(const GridWindowMover&) = delete;
    GridWindowMover& operator=(const GridWindowMover&) = delete;

    /// Moves and resizes the target application's standard movable window to `target`. Does nothing
    /// without a target application, and prompts for Accessibility trust without moving when it is
    /// missing. A frame with a value that is not finite is refused with a log line, before anything
    /// else happens.
    void moveFrontmostAXWindow(const Rect& target);

    /// Puts the workspace's frontmost application's window into full screen: through Accessibility,
    /// else with the Control-Command-F keystroke through System Events. True when either worked.
    /// Prompts for Accessibility trust when it is missing, and goes on.
    static bool enterNativeFullScreen();

    /// Moves the target window into the cell at `row` and `col` (from 1, bottom row first, limited to
    /// the preset's shape) of `preset`'s even grid over `screen`'s visible frame, inset by the
    /// padding and aligned to the screen's pixels. Logs ("TILING") the row and column as given.
    void snapFrontmost(std::int64_t row, std::int64_t col, const platform::NSScreen& screen,
                       const GridPreset& preset);

private:
    void showMinimumSizeMessage(const platform::NSScreen& screen) const;

    ActiveApplicationTracker& applications_;
    const OverlayLifecycle& overlays_;
};

} // namespace tilmora
