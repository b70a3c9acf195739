#pragma once

#include "platform/desktop/CFValue.hpp"

#include <cstdint>
#include <optional>

namespace platform {

using CGWindowID = std::uint32_t;
using CGWindowListOption = std::uint32_t;

inline constexpr CGWindowListOption kCGWindowListOptionAll = 0;
inline constexpr CGWindowListOption kCGWindowListOptionOnScreenOnly = 1;
inline constexpr CGWindowListOption kCGWindowListOptionOnScreenAboveWindow = 2;
inline constexpr CGWindowListOption kCGWindowListOptionOnScreenBelowWindow = 4;
inline constexpr CGWindowListOption kCGWindowListOptionIncludingWindow = 8;
inline constexpr CGWindowListOption kCGWindowListExcludeDesktopElements = 16;
inline constexpr CGWindowID kCGNullWindowID = 0;

// Keys of a window-list entry.
inline constexpr const char* kCGWindowNumber = "kCGWindowNumber";
inline constexpr const char* kCGWindowOwnerPID = "kCGWindowOwnerPID";
inline constexpr const char* kCGWindowOwnerName = "kCGWindowOwnerName";
inline constexpr const char* kCGWindowName = "kCGWindowName";
inline constexpr const char* kCGWindowBounds = "kCGWindowBounds";
inline constexpr const char* kCGWindowIsOnscreen = "kCGWindowIsOnscreen";
inline constexpr const char* kCGWindowLayer = "kCGWindowLayer";
inline constexpr const char* kCGWindowAlpha = "kCGWindowAlpha";
inline constexpr const char* kCGWindowStoreType = "kCGWindowStoreType";
inline constexpr const char* kCGWindowSharingState = "kCGWindowSharingState";
/// The undeclared key that carries the window's Space ("workspace") number.
inline constexpr const char* kCGWindowWorkspace = "kCGWindowWorkspace";

/// The window server's list of windows, front to back (higher layers first), as dictionaries.
///
/// Options: 0 every window; `kCGWindowListOptionOnScreenOnly` only windows on screen (not
/// minimized, not hidden, on an active Space); `kCGWindowListOptionIncludingWindow` with
/// `relativeToWindow` only that window; the above/below options the on-screen windows in front of
/// or behind it; `kCGWindowListExcludeDesktopElements` leaves out windows of negative layers.
///
/// Entry keys: `kCGWindowNumber` and `kCGWindowOwnerPID` (signed 32-bit numbers),
/// `kCGWindowOwnerName` (absent for an application without a name), `kCGWindowName` (absent when
/// the window's name is hidden), `kCGWindowBounds` (a dictionary "X", "Y", "Width", "Height" in
/// top-left coordinates: points, y down from the top of the main display), `kCGWindowIsOnscreen`
/// (present, true, only for windows on screen), `kCGWindowLayer`, `kCGWindowAlpha`,
/// `kCGWindowStoreType`, `kCGWindowSharingState` and `kCGWindowWorkspace` (the window's Space id in
/// the numeric type the desktop is told to use, or absent). None when the desktop is told the list
/// is unavailable. Any thread; logs nothing.
std::optional<CFArray> CGWindowListCopyWindowInfo(CGWindowListOption option, CGWindowID relativeToWindow);

} // namespace platform
