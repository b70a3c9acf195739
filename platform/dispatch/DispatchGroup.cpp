#include "platform/dispatch/DispatchGroup.hpp"

#include <utility>
#include <vector>

#include "platform/internal/Kernel.hpp"
#include "platform/foundation/Error.hpp"

namespace platform {

using detail::Kernel;

struct DispatchGroup::State {
    long count = 0;
    std::vector<std::pair<DispatchQueue, DispatchQueue::Block>> notifications;
    detail::WaitChannel channel;
    std::uint64_t generation = 0;

    void normalize(std::uint64_t gen) {
        if (generation == gen) return;
        count = 0;
        notifications.clear();
        generation = gen;
    }
};

DispatchGroup::DispatchGroup()
    : state_(std::make_shared<State>()) {}

void DispatchGroup::enter() const {
    auto& k = Kernel::get();
    auto g = k.lock();
    state_->normalize(k.generation());
    ++state_->count;
}

void DispatchGroup::leave() const {
    auto& k = Kernel::get();
    auto g = k.lock();
    state_->normalize(k.generation());
    if (state_->count <= 0) throw Error("DispatchGroup::leave called more often than enter");
    if (--state_->count > 0) return;
    auto notifications = std::move(state_->notifications);
    state_->notifications.clear();
    for (auto& [queue, block] : notifications)
        queue.enqueueLocked(g, std::move(block));
    k.notifyAll(g, state_->channel);
}

void DispatchGroup::notify(const DispatchQueue& queue, DispatchQueue::Block block) const {
    auto& k = Kernel::get();
    auto g = k.lock();
    state_->normalize(k.generation());
    if (state_->count == 0)
        queue.enqueueLocked(g, std::move(block));
    else
        state_->notifications.emplace_back(queue, std::move(block));
}

DispatchTimeoutResult DispatchGroup::wait(DispatchTime timeout) const {
    auto& k = Kernel::get();
    const auto keep = state_; // the waiting frame keeps the state alive
    auto g = k.lock();
    keep->normalize(k.generation());
    static const detail::WaitReason reason{"waiting for a dispatch group", nullptr, false};
    const bool ok =
        k.wait(g, &keep->channel, timeout.uptimeNanoseconds, reason, [&] { return keep->count == 0; });
    return ok ? DispatchTimeoutResult::success : DispatchTimeoutResult::timedOut;
}

void DispatchGroup::wait() const {
    wait(DispatchTime::distantFuture());
}

} // namespace platform
