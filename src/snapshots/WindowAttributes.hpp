#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tilmora {

/// The thirteen stored attributes of one saved window, as the snapshot store keeps them.
///
/// The rectangle is relative to the visible frame of the display the window was on, with a
/// top-left origin: `xPosition` is the window's left edge minus the visible frame's left edge,
/// `yPosition` the distance from the visible frame's top edge down to the window's top edge, both
/// in points; `width` and `height` are the window's size in points. `originalScreenWidth` and
/// `originalScreenHeight` are the size of that visible frame (points), and `windowID` packs its
/// origin (global coordinates, y up; see `packWindowID`), so it holds no window number.
/// `screenUUID` packs the display number (low 32 bits) and the display's fingerprint (high 32 bits;
/// see `packScreenUUID`). `spaceID` is the window's Space number, 0 when unknown or not captured.
/// `processID` is informational.
struct WindowAttributes {
    std::optional<std::string> appName;
    std::optional<std::string> bundleIdentifier;
    std::optional<std::string> windowTitle;
    std::int64_t processID = 0;
    double xPosition = 0;
    double yPosition = 0;
    double width = 0;
    double height = 0;
    std::int64_t screenUUID = 0;
    std::int64_t spaceID = 0;
    double originalScreenHeight = 0;
    double originalScreenWidth = 0;
    std::int64_t windowID = 0;

    bool operator==(const WindowAttributes&) const = default;
};

} // namespace tilmora
