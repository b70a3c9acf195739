#pragma once

#include "platform/input/CarbonEvent.hpp"

#include <cstdint>
#include <functional>
#include <vector>

namespace platform {

/// The target that receives the application's Carbon events (hot keys, raw keys): the main event
/// loop. A handle; 0 is no target.
struct EventTargetRef {
    std::uint64_t value = 0;
    explicit operator bool() const { return value != 0; }
    bool operator==(const EventTargetRef&) const = default;
};

/// An installed handler; 0 is none.
struct EventHandlerRef {
    std::uint64_t value = 0;
    explicit operator bool() const { return value != 0; }
    bool operator==(const EventHandlerRef&) const = default;
};

/// The position of a running handler in its target's handler stack (for `CallNextEventHandler`).
struct EventHandlerCallRef {
    std::uint64_t target = 0;
    std::size_t position = 0;
};

/// A handler returns `noErr` (handled; the event goes no further), `eventNotHandledErr` (the next
/// handler gets it), or another error (reported to the sender; the event goes no further).
using EventHandlerProcPtr = std::function<OSStatus(EventHandlerCallRef, EventRef, void* userData)>;

/// The dispatcher target (the main event loop). Main thread.
EventTargetRef GetEventDispatcherTarget();
/// The application's target; on the simulated platform the same as the dispatcher target.
EventTargetRef GetApplicationEventTarget();

/// Installs `handler` on `target` for `types` (may be empty), on top of the target's handlers: the
/// newest handler sees an event first. `paramErr` for a null target or handler. Main thread.
OSStatus InstallEventHandler(EventTargetRef target, EventHandlerProcPtr handler,
                             const std::vector<EventTypeSpec>& types, void* userData,
                             EventHandlerRef* outRef);
/// Removes a handler; `paramErr` for an unknown one.
OSStatus RemoveEventHandler(EventHandlerRef handler);
/// Adds event types (types already present are kept once). `paramErr` for an unknown handler.
OSStatus AddEventTypesToHandler(EventHandlerRef handler, const std::vector<EventTypeSpec>& types);
/// Removes event types (types not present are ignored). `paramErr` for an unknown handler.
OSStatus RemoveEventTypesFromHandler(EventHandlerRef handler, const std::vector<EventTypeSpec>& types);
/// Hands `event` to the handlers below the running one; `eventNotHandledErr` when none handles it.
OSStatus CallNextEventHandler(EventHandlerCallRef callRef, const EventRef& event);
/// Sends `event` to the handlers of `target` that listen to its class and kind, newest first, until
/// one answers other than `eventNotHandledErr`. `eventNotHandledErr` when none does. Main thread.
OSStatus SendEventToEventTarget(const EventRef& event, EventTargetRef target);

} // namespace platform
