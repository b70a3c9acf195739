#pragma once

#include "model/Rect.hpp"
#include "model/SnapIconKind.hpp"
#include "snapping/GapSettings.hpp"

namespace tilmora {

/// The placement arithmetic of the snap kinds: the rectangle of each kind inside a visible frame,
/// the gaps between placements, pixel alignment and clamping. Rectangles are in global
/// coordinates, points, origin at the bottom-left of the main display, y up, so upper placements
/// start at the frame's vertical middle. Holds no state and reads no settings: the gap settings
/// come in as an argument. Pure; any thread; logs nothing.
namespace SnapKindGeometry {

/// The rectangle of `kind` inside the frame `visible`, with `gaps` applied where the kind takes
/// gaps: every half, corner, third, quarter column, sixth and `center` and `almostMaximize`; the
/// whole-frame kinds only when `gaps.applyToMaximize`; never the three centred columns (whose width
/// alone is rounded to whole points) or the grid kinds (the frame itself).
Rect rectForVisible(SnapIconKind kind, const Rect& visible, const GapSettings& gaps);

/// Insets a placed rectangle by `gaps`, relative to the frame `visible` it was cut from: a side
/// that lies within 0.5 point of the frame's edge moves in by half a gap only when its edge switch
/// is on, any other side always does, so neighbouring placements are a whole gap apart. A width or
/// height below 50 points is raised to 50, and the result is clamped into the frame. A gap above
/// a quarter of the frame's smaller side counts as that quarter (`GapSettings::limitedTo`).
/// Without any gap the rectangle comes back unchanged.
Rect applyGaps(const Rect& rect, const Rect& visible, const GapSettings& gaps);

/// Moves the four edges of `rect` onto the device-pixel grid of a screen with backing scale `scale`
/// (below 1 or NaN counts as 1; edges land on half points at scale 2). Width and height never go
/// below 0.
Rect alignRectToPixelEdges(const Rect& rect, double scale);

/// Pulls the lower-left corner of `rect` into `bounds` and trims its size so that it does not reach
/// past the right and top edges of `bounds`. A rectangle that starts beyond the right or the top
/// edge is moved back so that its far edge lies on the bounds' edge, never given a negative size.
Rect clamp(const Rect& rect, const Rect& bounds);

} // namespace SnapKindGeometry

} // namespace tilmora
