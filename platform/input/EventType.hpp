#pragma once

#include <cstdint>

namespace platform {

/// The kinds of input events, with the raw values the window server uses.
enum class EventType : std::uint32_t {
    leftMouseDown = 1,
    leftMouseUp = 2,
    rightMouseDown = 3,
    rightMouseUp = 4,
    mouseMoved = 5,
    leftMouseDragged = 6,
    rightMouseDragged = 7,
    mouseEntered = 8,
    mouseExited = 9,
    keyDown = 10,
    keyUp = 11,
    flagsChanged = 12,
    appKitDefined = 13,
    systemDefined = 14,
    applicationDefined = 15,
    periodic = 16,
    cursorUpdate = 17,
    scrollWheel = 22,
    otherMouseDown = 25,
    otherMouseUp = 26,
    otherMouseDragged = 27,
};

} // namespace platform
