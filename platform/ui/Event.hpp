#pragma once

#include "platform/ui/Rect.hpp"

#include <string>

namespace platform::ui {

enum class EventType {
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
    otherMouseUp = 26
};

/// An input event as the application sees it: type, location in its window (points, the window's
/// space, y up; global when `windowNumber` is 0), modifier flags, key code and characters, time
/// stamp (virtual seconds) and click count.
struct Event {
    EventType type = EventType::applicationDefined;
    Point locationInWindow;
    long windowNumber = 0;
    unsigned modifierFlags = 0;
    unsigned short keyCode = 0;
    std::string characters;
    std::string charactersIgnoringModifiers;
    double timestamp = 0;
    long clickCount = 0;
};

} // namespace platform::ui
