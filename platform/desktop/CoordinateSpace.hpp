#pragma once

#include "platform/desktop/Geometry.hpp"

namespace platform {

// The two coordinate spaces of the desktop, both in points:
// - global: origin at the bottom-left of the main (menu-bar) display, y up. Screen frames, visible
//   frames and the program's own window frames use it.
// - top-left: origin at the top-left of the main display, y down. Accessibility positions, display
//   bounds and the window list use it.
// A rectangle flips between them through the main display's height; the flip is its own inverse, so
// one function serves both directions.

/// `r` in the other space: x and the size stay, y' = mainHeight - (y + height). A rectangle with a
/// negative width or height is made positive first; the null rectangle stays null. Pure, any thread.
inline CGRect flipRect(const CGRect& r, double mainHeight) {
    if (r.isNull()) return r;
    return {r.minX(), mainHeight - r.maxY(), r.width(), r.height()};
}

/// `p` in the other space: y' = mainHeight - y. Pure, any thread.
inline CGPoint flipPoint(CGPoint p, double mainHeight) {
    return {p.x, mainHeight - p.y};
}

/// Height in points of the main display as the display queries see it now (not the published
/// screen list, which may lag); 0 without displays. Any thread; logs nothing.
double mainDisplayHeight();

/// A global rectangle (y up) in top-left coordinates (y down), flipped through the main display's
/// current height. Any thread.
CGRect globalToTopLeft(const CGRect& global);

/// A top-left rectangle (y down) in global coordinates (y up), flipped through the main display's
/// current height. Any thread.
CGRect topLeftToGlobal(const CGRect& topLeft);

} // namespace platform
