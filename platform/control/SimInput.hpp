#pragma once

#include "platform/desktop/Geometry.hpp"
#include "platform/foundation/PropertyValue.hpp"
#include "platform/input/CarbonEvent.hpp"
#include "platform/input/KeyChord.hpp"
#include "platform/input/NSEvent.hpp"
#include "platform/input/ProcessInfo.hpp"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

/// The simulator's control of input: the user's keyboard and mouse, what other applications hold,
/// the system's reserved chords, the keyboard layout and the OS version. Tests and the desktop
/// console use it; the system never does.
///
/// Where input goes:
/// - A key press whose chord this program registered as a hot key reaches the program as a
///   hot-key-pressed Carbon event (its release as hot-key-released), never as a key event. A
///   chord another application holds goes to that application.
/// - Otherwise, when keys go to this program (it is frontmost, or its menu tracks), the Carbon
///   handlers for raw key events see it first (a handled one goes no further), then it is queued
///   as a key event for the application (local monitors, then the application's handler).
/// - Otherwise the global monitors see it and it goes to the frontmost other application.
/// - Mouse events go to this program when the pointer is over one of its windows (the routing
///   hook decides), else to the global monitors and the application under the pointer.
/// - Before the global monitors see a left-button event of another application, the window
///   server acts on it as the OS would: a mouse-down on a window (the topmost under the pointer,
///   `SimDesktop::windowAt`) brings it and its application to the front, and when it lies within
///   the top 28 points of the window's frame (its title bar; not for full-screen windows) the
///   dragged events that follow move the window by the pointer's travel until the mouse-up. The
///   program's own windows are left alone: a click on one neither activates the program nor moves
///   the window here (the program, which receives the events, does both: `WindowFrameTracker`).
///
/// Key codes are virtual key codes; locations are global coordinates (points, y up from the bottom
/// of the main display). Main thread; logs nothing.
class SimInput {
public:
    /// The control face (stateless; the state it drives is a shared instance, so
    /// `SharedInstances::resetAll` puts the pointer at (0, 0), no buttons or modifiers held, no
    /// monitors, hot keys, handlers or queued events, the default reserved chords, the U.S.
    /// layout, version 15.3.0, keys and pointer going to other applications).
    static SimInput& shared();

    // ----- routing

    /// Whether key presses go to this program now (default: false, another application is
    /// frontmost). The desktop console installs the real answer (frontmost application, menu).
    void setKeysGoToProgram(std::function<bool()> predicate);
    /// Whether a mouse event at a global location goes to this program (default: never).
    void setPointerGoesToProgram(std::function<bool(CGPoint)> predicate);
    /// What the receiving other application does with a key event or mouse event (default: nothing).
    void setOtherApplicationReceiver(std::function<void(const NSEvent&)> receiver);

    // ----- keyboard

    /// Presses a key with the modifier keys `held` (implied flags of the key are added to the
    /// event). Key-downs of a key already down are repeats.
    void keyDown(std::uint16_t keyCode, ModifierFlags held);
    void keyUp(std::uint16_t keyCode, ModifierFlags held);
    /// Down, then up: the modifiers are pressed first and released last (flags-changed events).
    void press(const KeyChord& chord);
    /// Changes the held modifier keys (a flags-changed event).
    void setModifierFlags(ModifierFlags held);
    /// Text an input method commits (UTF-8), as for a character the keyboard has no key for: when
    /// keys go to this program it is queued behind the key events before it (an
    /// application-kit-defined event, `NSEvent::textInputEvent`) and the application hands it to
    /// its key window's first responder; otherwise the frontmost other application receives it.
    /// Raw-key handlers and hot keys never see it. Empty text does nothing.
    void insertText(const std::string& text);

    // ----- mouse

    /// Moves the pointer (a mouse-moved event, or a dragged event while a button is down).
    void moveMouse(CGPoint location);
    /// Presses (or releases) a button at the pointer: 0 left, 1 right, others.
    void mouseDown(long button = 0);
    void mouseUp(long button = 0);
    /// Turns the mouse wheel at the pointer by `delta` points towards the end of what it scrolls
    /// (negative: back): a scroll-wheel event whose `scrollingDeltaY` is `-delta`, to the program
    /// when the pointer is over one of its windows, else to the global monitors.
    void scrollWheel(double delta);

    /// A drag with the left button over virtual time: at the current time the modifiers `held` go
    /// down, the pointer moves to `from` and the button goes down; then `steps` moves at equal
    /// intervals reach `to` after `duration` seconds, where the button and the modifiers are
    /// released. Scheduled on the simulator's clock (`SimScheduler`); returns at once, the caller
    /// runs the clock. A reset of the input drops the rest of the drag.
    void drag(CGPoint from, CGPoint to, double duration, int steps, ModifierFlags held = {});
    /// Stops the drags in progress: their remaining steps are dropped, and when the left button is
    /// down it is released where the pointer stands and the held modifiers are released.
    void stopDrags();

    // ----- hot keys of other applications and reserved chords

    /// Another application holds this chord (key code, Carbon modifiers): registering it fails
    /// with `status` (default `eventHotKeyExistsErr`), pressing it reaches that application.
    void holdHotKeyByOtherApplication(std::uint32_t keyCode, std::uint32_t carbonModifiers,
                                      OSStatus status = eventHotKeyExistsErr);
    void releaseHotKeyOfOtherApplication(std::uint32_t keyCode, std::uint32_t carbonModifiers);

    struct HotKeyRegistration {
        std::uint32_t keyCode = 0;
        std::uint32_t modifiers = 0;
        OSType signature = 0;
        std::uint32_t id = 0;
    };
    /// The program's live hot-key registrations, oldest first.
    std::vector<HotKeyRegistration> registeredHotKeys() const;

    struct SymbolicHotKey {
        bool enabled = true;
        std::int64_t keyCode = 0;
        std::int64_t modifiers = 0; ///< Carbon mask
    };
    /// Replaces the reserved chords (default: Spotlight, Finder search, Mission Control and
    /// application windows, Space switching, screenshots, input sources; "Switch to Desktop 1"
    /// (Control-1) is switched off).
    void setSymbolicHotKeys(const std::vector<SymbolicHotKey>& keys);
    /// Makes `CopySymbolicHotKeys` answer this value as it is (for malformed lists), or fail with
    /// `status` when it is not `noErr`. `resetSymbolicHotKeys` undoes both.
    void setSymbolicHotKeysAnswer(PropertyValue raw, OSStatus status = noErr);
    void resetSymbolicHotKeys();

    // ----- keyboard layout and system

    /// False: no ASCII-capable layout is current.
    void setKeyboardLayoutAvailable(bool available);
    /// False: the current layout has no Unicode layout data.
    void setKeyboardLayoutDataAvailable(bool available);
    void setKeyboardType(std::uint32_t type);
    void setOperatingSystemVersion(OperatingSystemVersion version);

    /// The text a key produces on the current layout with `held` (Command ignored): what a key
    /// event carries as its characters.
    static std::string charactersFor(std::uint16_t keyCode, ModifierFlags held);
    /// The key that types `character` (one character, UTF-8) on the current layout, alone or with
    /// Shift (the key without Shift first, the lowest key code first, never a keypad key); a line feed or carriage return is Return, a tab is Tab. None when no key types it
    /// (then an input method would insert it, `insertText`).
    static std::optional<KeyChord> chordTyping(const std::string& character);
    /// The flags a key adds by itself: function plus numeric pad for the arrows, function for the
    /// F-keys and navigation keys, numeric pad for the keypad.
    static ModifierFlags impliedFlags(std::uint16_t keyCode);

private:
    SimInput() = default;
};

} // namespace platform
