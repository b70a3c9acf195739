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
/// result is then clamped into `destination`: moved right or up to its left and bottom edges,
/// shrunk (to no less than 50 points) at its right and top edges, and never larger than it. When
/// that would leave the window entirely outside `destination` (a target that lies to the left of
/// or below the window), the window is instead shifted inside `destination`, keeping its size as
/// far as it fits. Pure; any thread.
Rect targetFrame(const Rect& window, const std::optional<Rect>& source, const Rect& destination,
                 bool preserveRelative);

} // namespace DisplayMoveCalculator

} // namespace tilmora
