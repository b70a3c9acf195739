#pragma once

#include "platform/desktop/Geometry.hpp"

#include <cstddef>
#include <cstdint>

namespace platform {

/// A window-server display number.
using CGDirectDisplayID = std::uint32_t;
/// A Core Graphics result code; 0 is success.
using CGError = std::int32_t;
inline constexpr CGError kCGErrorSuccess = 0;
inline constexpr CGError kCGErrorIllegalArgument = 1001;

// Display queries answered from the simulated desktop's current displays (not the published
// screen list, which may lag). Any thread; nothing is logged.

/// The main (menu-bar) display; 0 without displays.
CGDirectDisplayID CGMainDisplayID();
/// A display's bounds in top-left coordinates (points, y down from the top of the main display);
/// the zero rectangle for an unknown display.
CGRect CGDisplayBounds(CGDirectDisplayID display);
/// Writes up to `maxDisplays` online display numbers (mirrors included), main first, and their
/// count. `displays` may be null to ask only for the count.
CGError CGGetOnlineDisplayList(std::uint32_t maxDisplays, CGDirectDisplayID* displays, std::uint32_t* count);
/// Identity and size of a display; 0 / false for an unknown display.
std::uint32_t CGDisplayVendorNumber(CGDirectDisplayID display);
std::uint32_t CGDisplayModelNumber(CGDirectDisplayID display);
std::uint32_t CGDisplaySerialNumber(CGDirectDisplayID display);
bool CGDisplayIsBuiltin(CGDirectDisplayID display);
/// Size of the display's current mode (a scaled mode answers its size in points, as the real
/// queries do); `DisplaySpec::pixelsWide`/`pixelsHigh` override it.
std::size_t CGDisplayPixelsWide(CGDirectDisplayID display);
std::size_t CGDisplayPixelsHigh(CGDirectDisplayID display);

} // namespace platform
