#pragma once

#include "snapshots/SnapshotWindowRecord.hpp"

#include "platform/desktop/Geometry.hpp"

namespace tilmora::SnapshotWindowGeometry {

// Turns a saved window into a frame on a display: first fractions of its saved display, then a
// frame on a visible frame with a minimum size, kept inside it. Pure; any thread; logs nothing.

/// The window as fractions of its saved display's visible frame, origin at that frame's
/// bottom-left. The stored position counts as relative to the frame (what capture writes) when it
/// lies within 2 points around it, else as the window's absolute bottom-left corner in global
/// coordinates. Sizes are at least 1 point and at most the frame (a frame below 1 point counts as
/// 1); the window is then moved, not shrunk, inside the frame. Every component lies in [0, 1], with
/// x + width <= 1 and y + height <= 1; a not-a-number position reads as 0 and a not-a-number size
/// as the whole frame.
platform::CGRect normalizedRect(const SnapshotWindowRecord& record);

/// The saved window's frame on the visible frame `visibleFrame` (global coordinates, points, y
/// up): its fractions scaled to that frame, at least 220 x 160 points (500 x 360 for
/// "com.microsoft.VSCode"), never more than the frame, then moved inside it keeping its size.
/// `destinationFrame` (the display's full frame) does not enter the result.
platform::CGRect targetRect(const SnapshotWindowRecord& record, const platform::CGRect& destinationFrame,
                            const platform::CGRect& visibleFrame);

/// `rect` moved inside `bounds`: its size cut to the bounds' size, then shifted right or up onto
/// the bounds' left or bottom edge and back left or down from the right or top edge.
platform::CGRect clampPreservingSize(const platform::CGRect& rect, const platform::CGRect& bounds);

} // namespace tilmora::SnapshotWindowGeometry
