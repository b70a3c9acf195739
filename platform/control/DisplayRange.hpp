#pragma once

#include "platform/control/DesktopSpecs.hpp"
#include "platform/desktop/Geometry.hpp"

#include <optional>
#include <string>

namespace platform {

/// The displays the simulated desktop holds: every coordinate, size and pixel count that comes of a
/// display then fits the integers that the window server, the pixel queries and the screen capture
/// use. A frame's or visible frame's x and y lie within ±`maximumCoordinate` points of the main
/// display's origin; a frame's width and height lie above 0 and at most `maximumSide` points, a
/// visible frame's from 0 (a display whose menu bar takes all of it) to `maximumSide`; a backing
/// scale lies above 0 and at most `maximumScale`. `SimDesktop` refuses any other display; the desktop
/// console checks its own input the same way to name the field. Any thread; logs nothing.
namespace DisplayRange {

inline constexpr double maximumCoordinate = 1e9;
inline constexpr double maximumSide = 1e6;
inline constexpr double maximumScale = 16;

/// What lies outside the range: the value and the rule, e.g. "x 1e+20: must be within ±1e9 points"
/// or "width 3e+38: must be above 0 and at most 1e6 points" ("must be from 0 to 1e6 points" with
/// `allowEmpty`, for a visible frame); none when the rectangle is in range.
std::optional<std::string> rectProblem(const CGRect& rect, bool allowEmpty = false);
/// "scale 100.0: must be above 0 and at most 16"; none when the scale is in range.
std::optional<std::string> scaleProblem(double scale);
/// The first problem of a display's frame, visible frame (when given) and scale, the field named
/// first: "frame x 1e+20: must be within ±1e9 points", "visible width ...", "scale ...".
std::optional<std::string> problem(const DisplaySpec& spec);

} // namespace DisplayRange

} // namespace platform
