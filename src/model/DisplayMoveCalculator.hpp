#pragma once

#include "model/Rect.hpp"

#include <optional>

namespace tilmora {

/// Carries a window frame from one display to another. All frames are in global coordinates:
/// points, origin at the bottom-left of the main display, y up.
namespace DisplayMoveCalculator {

/// The frame a window `window` should take on the display whose visible frame is `destination`.
///
/// With `preserveRelative` and a `source` (the visible frame of the display the window is on), the
/// window keeps its position and size relative to the display; otherwise it keeps its frame. The
/// result is then `clamp`ed into `destination`. Pure; any thread.
Rect targetFrame(const Rect& window, const std::optional<Rect>& source, const Rect& destination,
                 bool preserveRelative);

/// `rect` kept inside `frame`, in this order: x raised to the frame's left edge and y to its bottom
/// edge when below them; where the right (top) edge passes the frame's, the width (height) cut to
/// reach it but never below 50 points; then the width and height capped at the frame's. It never
/// moves a rectangle left or down, so a window near the right or top edge may still reach past it
/// by up to 50 points less the room left.
///
/// When those steps would leave the rectangle entirely outside a non-empty `frame` (a frame that
/// lies to the left of or below it), it is instead shifted inside `frame`, keeping its size as far
/// as it fits. The shell's display moves use this directly. Pure; any thread.
Rect clamp(const Rect& rect, const Rect& frame);

} // namespace DisplayMoveCalculator

} // namespace tilmora
