#pragma once

#include <functional>

namespace platform {

/// Somewhere to run a piece of work later, for example the main queue of the run loop.
/// The notification center hands queue-targeted deliveries to it.
class DeliveryQueue {
public:
    virtual ~DeliveryQueue() = default;
    /// Runs `work` later on the queue's own thread or turn; must not run it before returning
    /// when called from a thread that the queue does not own. Any thread.
    virtual void deliver(std::function<void()> work) = 0;
};

} // namespace platform
