#pragma once

#include "platform/input/NSEvent.hpp"

#include <functional>
#include <memory>
#include <optional>

namespace tilmora::GlobalShortcuts {

/// An application-local event monitor that lives as long as this object: `start` installs it,
/// destroying the object removes it (there is no stop). The callback sees every event of the
/// program whose type is in `events` before the application handles it, and returns the event to
/// let it go on or none to swallow it. Main thread only.
class LocalEventMonitor {
public:
    using Callback = std::function<std::optional<platform::NSEvent>(const platform::NSEvent&)>;

    LocalEventMonitor(platform::EventTypeMask events, Callback callback);
    /// Removes the platform monitor when it was started and is still installed.
    ~LocalEventMonitor();
    LocalEventMonitor(const LocalEventMonitor&) = delete;
    LocalEventMonitor& operator=(const LocalEventMonitor&) = delete;

    /// Installs the platform monitor (kept weakly); returns this monitor.
    LocalEventMonitor& start();

    platform::EventTypeMask events() const { return events_; }
    /// The platform monitor while it is installed; null before `start` and after removal.
    std::shared_ptr<platform::EventMonitor> monitor() const { return monitor_.lock(); }

private:
    platform::EventTypeMask events_;
    Callback callback_;
    std::weak_ptr<platform::EventMonitor> monitor_;
};

} // namespace tilmora::GlobalShortcuts
