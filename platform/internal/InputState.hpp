#pragma once

#include "platform/foundation/SharedInstance.hpp"

#include "platform/input/CarbonEventHandlers.hpp"
#include "platform/input/NSEvent.hpp"
#include "platform/input/ProcessInfo.hpp"
#include "platform/control/SimInput.hpp"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace platform::input_detail {

/// An installed Carbon event handler. Handlers are never erased while the state lives (a removed
/// one is marked), so that positions stay valid during a dispatch.
struct HandlerEntry {
    std::uint64_t id = 0;
    EventHandlerProcPtr proc;
    std::vector<EventTypeSpec> types;
    void* userData = nullptr;
    bool removed = false;
};

struct HotKeyEntry {
    std::uint64_t ref = 0;
    std::uint32_t keyCode = 0;
    std::uint32_t modifiers = 0;
    EventHotKeyID id;
};

struct HeldChord {
    std::uint32_t keyCode = 0;
    std::uint32_t modifiers = 0;
    OSStatus status = 0;
};

/// Everything the input area of the platform keeps: the pointer and keyboard, monitors, Carbon
/// handlers and hot keys, the simulator's settings. A shared instance (fresh after
/// `SharedInstances::resetAll`). Main thread.
struct State {
    /// The keyboard and pointer outlive the program (its own hot keys, handlers and monitors go when it
    /// terminates).
    static constexpr SharedScope sharedScope = SharedScope::desktop;
    State();
    ~State();
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    CGPoint pointer;
    std::uint32_t buttons = 0;
    ModifierFlags held;
    std::set<std::uint16_t> keysDown;
    /// The mouse-down went to this program: its drags and its mouse-up go there too.
    bool mouseCapturedByProgram = false;
    /// The window that a left-button drag begun in its title bar moves (another application's),
    /// with the pointer location of the last event that moved it (global coordinates).
    std::optional<std::uint32_t> titleBarDragWindow;
    CGPoint titleBarDragAnchor;

    std::vector<std::shared_ptr<EventMonitor>> monitors;
    /// A dispatch of the application's queue waits on the main queue.
    bool dispatchScheduled = false;

    std::vector<HandlerEntry> handlers;
    std::uint64_t nextHandlerId = 1;

    std::vector<HotKeyEntry> hotKeys;
    std::uint64_t nextHotKeyRef = 1;
    std::vector<HeldChord> heldByOthers;
    /// Key code -> the hot key whose press fired, so that the key's release fires its release.
    std::map<std::uint16_t, HotKeyEntry> firedHotKeys;
    /// Key codes whose press went to another application's hot key.
    std::set<std::uint16_t> keysToOtherHotKeys;

    std::vector<SimInput::SymbolicHotKey> symbolic;
    std::optional<PropertyValue> symbolicAnswer;
    OSStatus symbolicStatus = 0;

    bool layoutAvailable = true;
    bool layoutDataAvailable = true;
    std::uint32_t keyboardType = 40;
    OperatingSystemVersion osVersion{15, 3, 0};

    /// Counts stopped drags: the steps of a drag scheduled before a stop are dropped.
    std::uint64_t dragsStopped = 0;

    std::function<bool()> keysGoToProgram;
    std::function<bool(CGPoint)> pointerGoesToProgram;
    std::function<void(const NSEvent&)> otherApplicationReceiver;
};

/// Reaches the handlers of a monitor token.
struct MonitorAccess {
    /// Installs a monitor with `mask`: a local one when `local` is given, else a global one calling
    /// `global`. Defined with the monitor calls of `NSEvent`.
    static std::shared_ptr<EventMonitor> install(EventTypeMask mask, NSEvent::GlobalHandler global,
                                                 NSEvent::LocalHandler local);
    static void callGlobal(const EventMonitor& m, const NSEvent& e) { m.global_(e); }
    static std::optional<NSEvent> callLocal(const EventMonitor& m, const NSEvent& e) {
        return m.localHandler_(e);
    }
};

State& state();
/// Counts fresh states, so that work scheduled before a reset can tell it is stale.
std::uint64_t stateGeneration();
/// The default reserved chords.
std::vector<SimInput::SymbolicHotKey> defaultSymbolicHotKeys();
/// Seconds on the media clock, for event time stamps.
double eventClock();

/// Sends `event` to the dispatcher target's handlers below position `below` (exclusive), newest
/// first; `eventNotHandledErr` when none handles it.
OSStatus dispatchCarbonEvent(const EventRef& event, std::size_t below);

/// The modifier bits that decide whether a press matches a hot key or a held chord.
inline constexpr std::uint32_t kChordBits =
    cmdKey | shiftKey | optionKey | controlKey | kEventKeyModifierFnMask;
/// Whether a press with Carbon modifiers `pressed` matches a hot key registered with `registered`:
/// control, option, shift and command must agree; the function bit only when it was registered.
bool hotKeyMatches(std::uint32_t registered, std::uint32_t pressed);

/// The program has terminated: its hot keys are unregistered, its Carbon handlers and event
/// monitors removed (none is called again), and a mouse capture it held is released.
void endProgram();

/// Where the window server keeps the pointer: `location` when it lies on a display frame (edges
/// included), else the nearest point of the nearest display frame; `location` itself when there is
/// no display. A NaN coordinate counts as 0.
CGPoint keepOnDisplays(CGPoint location);

/// Carbon modifier mask of AppKit flags (control, option, shift, command, function, caps lock).
std::uint32_t carbonModifiers(ModifierFlags flags);

} // namespace platform::input_detail
