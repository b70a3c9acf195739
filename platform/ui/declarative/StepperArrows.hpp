#pragma once

#include "platform/ui/Rect.hpp"

namespace platform::ui::declarative {

/// Where a stepper element keeps its arrows, for the host that takes their clicks and the screen
/// capture that draws them: one rule for both. Frames and points are in the host's space (points,
/// y down from the top-left).
struct StepperArrows {
    /// The arrows' bezel at the trailing end of the stepper's frame: 14 points wide (the frame's
    /// width when it is narrower) and 22 high, centred on the frame vertically. The up arrow is its
    /// upper half, the down arrow its lower half.
    static Rect bezel(const Rect& frame);
    /// +1 for a point on the up arrow, -1 on the down arrow (the middle line belongs to it), 0 for
    /// a point off the bezel (on the label).
    static int directionAt(const Rect& frame, Point point);
};

} // namespace platform::ui::declarative
