#pragma once

#include "platform/desktop/Geometry.hpp"
#include "platform/input/CarbonEvent.hpp"
#include "platform/input/EventType.hpp"
#include "platform/input/EventTypeMask.hpp"
#include "platform/input/ModifierFlags.hpp"
#include "platform/input/SpecialKey.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace platform {

class EventMonitor;
namespace input_detail {
struct MonitorAccess;
}

/// One input event: its type, modifier flags, key code and text (key events), location (mouse
/// events) and the Carbon event behind it. A value; copies are independent.
///
/// The class functions give the pointer and keyboard state and install event monitors:
/// - a global monitor sees the events the window server sends to other applications (never this
///   program's own), after the fact: it cannot change them;
/// - a local monitor sees the events sent to this program when the application dispatches them,
///   before anything else; it returns the event (or a replacement) to let it go on, or none to
///   swallow it.
/// Monitors are called on the main thread, in the order they were added.
struct NSEvent {
    using EventType = platform::EventType;
    using EventTypeMask = platform::EventTypeMask;
    using ModifierFlags = platform::ModifierFlags;
    using SpecialKey = platform::SpecialKey;

    EventType type = EventType::applicationDefined;
    /// The modifier keys held when the event happened (plus the implied flags of the key).
    ModifierFlags modifierFlags;
    /// Virtual key code (key events).
    std::uint16_t keyCode = 0;
    /// The text the key produces with the held modifiers (Command ignored); arrow, function and
    /// navigation keys give their function-key characters (U+F700 ...). UTF-8.
    std::string characters;
    /// The text without modifiers except Shift. UTF-8.
    std::string charactersIgnoringModifiers;
    bool isARepeat = false;
    /// Points: in the window's space (y up) when `windowNumber` is not 0, else global coordinates
    /// (y up from the bottom of the main display).
    CGPoint locationInWindow;
    /// The program's window the event is for; 0 for none.
    long windowNumber = 0;
    /// Seconds on the platform's clock when the event happened.
    double timestamp = 0;
    /// 0 left, 1 right, 2 and up other buttons (mouse events).
    long buttonNumber = 0;
    long clickCount = 0;
    /// Scroll-wheel events: how far the wheel scrolls, in points; negative moves the content up,
    /// showing what lies further down.
    double scrollingDeltaY = 0;
    /// Subtype of system-defined events (6: a hot key) and of application-kit-defined events
    /// (`textInputSubtype`).
    short subtype = 0;
    /// The Carbon event behind the event (keyboard events carry one with key code and modifiers).
    EventRef eventRef;

    /// The special key of `characters` when it is one character naming one (none for text).
    std::optional<SpecialKey> specialKey() const;

    /// A key event (`keyDown`, `keyUp` or `flagsChanged`).
    static NSEvent keyEvent(EventType type, CGPoint location, ModifierFlags flags, double timestamp,
                            long windowNumber, std::string characters,
                            std::string charactersIgnoringModifiers, bool isARepeat, std::uint16_t keyCode);
    /// The subtype of an application-kit-defined event that carries text an input method committed.
    static constexpr short textInputSubtype = 32;
    /// Text an input method commits (UTF-8, in `characters`): an application-kit-defined event of
    /// `textInputSubtype`, which the application hands to its key window's first responder to
    /// insert. It carries no key code.
    static NSEvent textInputEvent(CGPoint location, double timestamp, std::string text);
    /// A mouse event.
    static NSEvent mouseEvent(EventType type, CGPoint location, ModifierFlags flags, double timestamp,
                              long windowNumber, long clickCount);

    // ----- pointer and keyboard state

    /// The pointer's position in global coordinates (points, y up from the bottom of the main
    /// display). Main thread.
    static CGPoint mouseLocation();
    /// Bit n set while mouse button n is down (1 left, 2 right). Main thread.
    static std::uint32_t pressedMouseButtons();
    /// The modifier keys held now (the class property of the same name on the original platform).
    /// Main thread.
    static ModifierFlags currentModifierFlags();

    // ----- monitors

    using GlobalHandler = std::function<void(const NSEvent&)>;
    using LocalHandler = std::function<std::optional<NSEvent>(const NSEvent&)>;

    /// Installs a global monitor for `mask`; the result is the token to remove it with (the
    /// platform keeps the monitor alive until then). Main thread.
    static std::shared_ptr<EventMonitor> addGlobalMonitorForEvents(EventTypeMask mask, GlobalHandler handler);
    /// Installs a local monitor for `mask`. Main thread.
    static std::shared_ptr<EventMonitor> addLocalMonitorForEvents(EventTypeMask mask, LocalHandler handler);
    /// Removes a monitor; it is not called again, even by a delivery in progress. Removing a null or
    /// already removed monitor does nothing. Main thread.
    static void removeMonitor(const std::shared_ptr<EventMonitor>& monitor);
};

/// The token of an installed event monitor. Only its identity and presence matter to callers.
class EventMonitor {
public:
    bool isLocal() const { return local_; }
    EventTypeMask mask() const { return mask_; }
    /// False once removed.
    bool isActive() const { return active_; }

private:
    friend struct NSEvent;
    friend struct input_detail::MonitorAccess;
    bool local_ = false;
    bool active_ = true;
    EventTypeMask mask_;
    NSEvent::GlobalHandler global_;
    NSEvent::LocalHandler localHandler_;
};

} // namespace platform
