#pragma once

#include <cstdint>
#include <optional>
#include <sys/types.h>

namespace platform {

using CGKeyCode = std::uint16_t;
using CGEventFlags = std::uint64_t;
inline constexpr CGEventFlags kCGEventFlagMaskControl = 0x40000;
inline constexpr CGEventFlags kCGEventFlagMaskCommand = 0x100000;

enum class CGEventSourceStateID { privateState = -1, combinedSessionState = 0, hidSystemState = 1 };
enum class CGEventTapLocation { hid = 0, session = 1, annotatedSession = 2 };

/// A source of synthetic events.
struct CGEventSource {
    CGEventSourceStateID state = CGEventSourceStateID::combinedSessionState;
};

/// One synthetic key press or release.
struct CGEvent {
    CGKeyCode keyCode = 0;
    bool keyDown = true;
    CGEventFlags flags = 0;
};

// Synthetic key events on the simulated desktop. A key-down of 45 ("N") with the Command flag opens
// a window in the receiving application when it opens windows that way; a key-down of a number-row
// key with the Control flag posted to the HID tap switches Desktops like the System Events script;
// Escape (53) and everything else only reach the journal. Without Accessibility trust posted events
// are dropped (journalled as dropped). Any thread; logs nothing.

/// None when the desktop is told event sources cannot be created.
std::optional<CGEventSource> CGEventSourceCreate(CGEventSourceStateID state);
/// None when the desktop is told event sources cannot be created.
std::optional<CGEvent> CGEventCreateKeyboardEvent(const std::optional<CGEventSource>& source, CGKeyCode key,
                                                  bool keyDown);
inline void CGEventSetFlags(CGEvent& event, CGEventFlags flags) {
    event.flags = flags;
}
/// Posts to the frontmost application.
void CGEventPost(CGEventTapLocation tap, const CGEvent& event);
/// Posts to one process.
void CGEventPostToPid(pid_t pid, const CGEvent& event);

} // namespace platform
