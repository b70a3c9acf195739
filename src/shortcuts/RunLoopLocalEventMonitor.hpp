#pragma once

#include "platform/dispatch/RunLoopMode.hpp"
#include "platform/dispatch/RunLoopObserver.hpp"
#include "platform/input/EventTypeMask.hpp"
#include "platform/input/NSEvent.hpp"

#include <functional>
#include <memory>
#include <optional>

namespace tilmora::GlobalShortcuts {

/// Sees the application's queued events while the run loop runs in a mode where local monitors do
/// not (a menu's event tracking): a repeating before-sources observer (order 0) that, on each turn,
/// takes every pending event of the application out of its queue in arrival order and hands those
/// of the given types to `callback`; an event the callback returns, and every event of another
/// type, goes back to the end of the queue, and one it swallows (none) is dropped.
///
/// Construction only makes the observer; the owner adds it to the current run loop in
/// `runLoopMode` and removes it again. Destruction removes it from the current run loop. Main thread.
class RunLoopLocalEventMonitor {
public:
    using Callback = std::function<std::optional<platform::NSEvent>(const platform::NSEvent&)>;

    RunLoopLocalEventMonitor(platform::EventTypeMask events, platform::RunLoopMode runLoopMode,
                             Callback callback);
    ~RunLoopLocalEventMonitor();
    RunLoopLocalEventMonitor(const RunLoopLocalEventMonitor&) = delete;
    RunLoopLocalEventMonitor& operator=(const RunLoopLocalEventMonitor&) = delete;

    const platform::RunLoopMode runLoopMode;
    const Callback callback;
    const std::shared_ptr<platform::RunLoopObserver> observer;
};

} // namespace tilmora::GlobalShortcuts
