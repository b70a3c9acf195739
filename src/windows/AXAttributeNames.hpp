#pragma once

namespace tilmora {

// Accessibility attribute names that the platform's headers do not declare. One constant per name,
// shared by every reader and writer of other applications' windows.

/// A window's window-server number (a number).
inline constexpr const char* kAXWindowNumberAttribute = "AXWindowNumber";
/// The window-server number under the older name, answered by windows that lack "AXWindowNumber".
inline constexpr const char* kAXWindowIDAttribute = "AXWindowID";
/// A window's zoom (green) button element.
inline constexpr const char* kAXZoomButtonAttributeCF = "AXZoomButton";
/// Whether a window is in full screen (a Boolean; settable).
inline constexpr const char* kAXFullScreenAttribute = "AXFullScreen";
/// A window's tab elements (a list).
inline constexpr const char* kAXTabsAttributeCF = "AXTabs";

} // namespace tilmora
