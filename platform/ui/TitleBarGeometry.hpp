#pragma once

#include "platform/desktop/Geometry.hpp"

#include <optional>

namespace platform::ui {

/// Where a titled window's frame takes the pointer, and where the screen capture draws it: the
/// title bar (the top `Window::titleBarHeight` points of the frame, or the whole frame when it is
/// lower), its three buttons (12-point circles centred 20, 40 and 60 points right of the frame's
/// left edge, in the middle of the title bar: 14 points below the top edge; a button that would
/// reach past the frame's right edge is not there) and the resize corner (the 10 × 10 points at the
/// frame's lower-right corner, inside it). Frames and points are global coordinates (points, y up),
/// or any other y-up space both share. Pure functions; any thread.
namespace TitleBarGeometry {

/// The three window buttons, left to right.
enum class Button { close, miniaturize, zoom };

/// A button's diameter (points).
inline constexpr double buttonDiameter = 12;
/// The side of the resize corner (points).
inline constexpr double resizeCornerSize = 10;

/// The title bar's rectangle: the top of `frame`.
CGRect titleBar(const CGRect& frame);
/// The centre of `button`; none when the frame is too narrow to hold it.
std::optional<CGPoint> buttonCentre(const CGRect& frame, Button button);
/// The button whose circle holds `point` (its edge included); none elsewhere.
std::optional<Button> buttonAt(const CGRect& frame, CGPoint point);
/// Whether `point` lies in the title bar.
bool titleBarContains(const CGRect& frame, CGPoint point);
/// Whether `point` lies in the resize corner.
bool resizeCornerContains(const CGRect& frame, CGPoint point);

} // namespace TitleBarGeometry

} // namespace platform::ui
