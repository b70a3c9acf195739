#pragma once

#include <memory>

#include "platform/dispatch/DispatchTime.hpp"

namespace platform {

/// A counting semaphore. `wait` takes one unit, blocking until one is signalled or the timeout
/// passes; waiters are served in the order they began to wait. A cheap handle; copies are the
/// same semaphore. Any thread.
class DispatchSemaphore {
public:
    /// Throws `platform::Error` for a negative value.
    explicit DispatchSemaphore(long value = 0);

    /// Adds a unit; returns non-zero when a waiter was woken.
    long signal() const;
    DispatchTimeoutResult wait(DispatchTime timeout) const;
    void wait() const;

    struct State;

private:
    std::shared_ptr<State> state_;
};

} // namespace platform
