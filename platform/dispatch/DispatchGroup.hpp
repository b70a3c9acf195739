#pragma once

#include <functional>
#include <memory>

#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/DispatchTime.hpp"

namespace platform {

/// A dispatch group: counts work that has entered and not yet left. When the count returns to
/// zero every pending `notify` block is submitted to its queue and every waiter wakes. A cheap
/// handle; copies are the same group. Any thread.
class DispatchGroup {
public:
    DispatchGroup();

    void enter() const;
    /// Throws `platform::Error` when more leaves than enters.
    void leave() const;
    /// Submits `block` to `queue` once the group is empty (at once when it already is).
    void notify(const DispatchQueue& queue, DispatchQueue::Block block) const;
    /// Waits until the group is empty or `timeout` passes.
    DispatchTimeoutResult wait(DispatchTime timeout) const;
    void wait() const;

    struct State;

private:
    std::shared_ptr<State> state_;
};

} // namespace platform
