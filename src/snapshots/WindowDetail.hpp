#pragma once

#include <cstdint>
#include <string>

namespace tilmora::WindowManager {

/// One captured window, as capture hands it to the save. Frames come from the global Cocoa space
/// (points, origin at the bottom-left of the main display, y up); the rectangle is the window's
/// frame clipped to the visible frame of the display it was assigned to.
struct WindowDetail {
    /// The application's localized name; its bundle identifier when it has none.
    std::string appName;
    std::string bundleIdentifier;
    /// The window's title; "" when it has none.
    std::string windowTitle;
    /// The window server's window number (a 32-bit value); 0 when none was found.
    std::int64_t windowNumber = 0;
    /// Left edge of the clipped frame minus the left edge of the visible frame (points).
    double xPosition = 0;
    /// Top edge of the visible frame minus the top edge of the clipped frame (points, downward).
    double yPosition = 0;
    double width = 0;
    double height = 0;
    /// The display number of the assigned screen.
    std::uint32_t screenID = 0;
    /// Size and origin of that screen's visible frame (global coordinates, points).
    double originalScreenWidth = 0;
    double originalScreenHeight = 0;
    double originalScreenOriginX = 0;
    double originalScreenOriginY = 0;
    std::int32_t processID = 0;
    /// The window's Space number; 0 when unknown or when Spaces are not captured.
    std::int32_t spaceID = 0;

    bool operator==(const WindowDetail&) const = default;
};

} // namespace tilmora::WindowManager
