#pragma once

#include "platform/foundation/SharedInstance.hpp"

#include "platform/input/NSEvent.hpp"

#include <deque>
#include <functional>
#include <optional>

namespace platform {

/// The application's event queue: the events the window server sent to this program, waiting to
/// be dispatched, and the event being dispatched now (`currentEvent`).
///
/// Dispatching an event runs the local monitors (which may swallow or replace it), then, with the
/// event as the current event, hands it to the application's event handler (the UI toolkit's
/// application object installs it with `setEventHandler`). Main thread only.
class EventQueue {
public:
    /// The application's queue (a shared instance: `SharedInstances::resetAll` empties it and
    /// drops the handler and the current event).
    static EventQueue& shared();

    /// The first queued event whose type is in `mask`, without waiting; none when no event
    /// matches. With `dequeue` the event leaves the queue. Dequeued events skip the local monitors.
    std::optional<NSEvent> nextEvent(EventTypeMask mask, bool dequeue = true);
    /// Adds an event at the end of the queue, or at its start with `atStart`.
    void postEvent(const NSEvent& event, bool atStart = false);
    std::size_t pendingCount() const { return queue_.size(); }

    /// The event being dispatched (an event, a menu pick's mouse-up, a hot key's system-defined
    /// event); none between events.
    const std::optional<NSEvent>& currentEvent() const { return current_; }

    /// Makes `event` the current event until the scope ends (then the previous one is back).
    class CurrentEventScope {
    public:
        explicit CurrentEventScope(const NSEvent& event);
        ~CurrentEventScope();
        CurrentEventScope(const CurrentEventScope&) = delete;
        CurrentEventScope& operator=(const CurrentEventScope&) = delete;

    private:
        std::optional<NSEvent> previous_;
    };

    /// The application's handler of dispatched events.
    void setEventHandler(std::function<void(const NSEvent&)> handler) { handler_ = std::move(handler); }
    bool hasEventHandler() const { return static_cast<bool>(handler_); }

    /// Dispatches every queued event, oldest first, including events posted meanwhile. Returns how
    /// many were taken from the queue.
    std::size_t dispatchPending();
    /// Runs the local monitors on `event`: the surviving (possibly replaced) event, or none.
    std::optional<NSEvent> applyLocalMonitors(const NSEvent& event);

private:
    friend class SharedInstance<EventQueue>;
    EventQueue() = default;
    std::deque<NSEvent> queue_;
    std::optional<NSEvent> current_;
    std::function<void(const NSEvent&)> handler_;
};

} // namespace platform
