#include "platform/dispatch/DispatchSemaphore.hpp"

#include "platform/internal/Kernel.hpp"
#include "platform/foundation/Error.hpp"

namespace platform {

using detail::Kernel;

struct DispatchSemaphore::State {
    long initial = 0;
    long value = 0;
    long waiters = 0;
    detail::WaitChannel channel;
    std::uint64_t generation = 0;

    void normalize(std::uint64_t gen) {
        if (generation == gen) return;
        value = initial;
        waiters = 0;
        generation = gen;
    }
};

DispatchSemaphore::DispatchSemaphore(long value)
    : state_(std::make_shared<State>()) {
    if (value < 0) throw Error("DispatchSemaphore needs a value of zero or more");
    state_->initial = value;
    state_->value = value;
    state_->generation = Kernel::get().generation();
}

long DispatchSemaphore::signal() const {
    auto& k = Kernel::get();
    const auto keep = state_;
    auto g = k.lock();
    keep->normalize(k.generation());
    ++keep->value;
    if (keep->waiters == 0) return 0;
    k.notifyAll(g, keep->channel);
    return 1;
}

DispatchTimeoutResult DispatchSemaphore::wait(DispatchTime timeout) const {
    auto& k = Kernel::get();
    const auto keep = state_; // the waiting frame keeps the state alive
    auto g = k.lock();
    keep->normalize(k.generation());
    static const detail::WaitReason reason{"waiting for a semaphore", nullptr, false};
    ++keep->waiters;
    bool ok = false;
    try {
        ok = k.wait(g, &keep->channel, timeout.uptimeNanoseconds, reason, [&] { return keep->value > 0; });
    } catch (...) {
        --keep->waiters;
        throw;
    }
    --keep->waiters;
    if (!ok) return DispatchTimeoutResult::timedOut;
    --keep->value;
    return DispatchTimeoutResult::success;
}

void DispatchSemaphore::wait() const {
    wait(DispatchTime::distantFuture());
}

} // namespace platform
