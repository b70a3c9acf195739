#include "platform/dispatch/RecursiveLock.hpp"

#include "platform/internal/Kernel.hpp"

namespace platform {

using detail::Kernel;

RecursiveLock::RecursiveLock()
    : state_(std::make_shared<detail::LockState>()) {}

RecursiveLock::RecursiveLock(std::string name)
    : RecursiveLock() {
    state_->name = std::move(name);
}

RecursiveLock::~RecursiveLock() = default;

void RecursiveLock::lock() {
    auto& k = Kernel::get();
    auto state = state_;
    auto g = k.lock();
    k.acquire(g, *state, true);
}

void RecursiveLock::unlock() {
    auto& k = Kernel::get();
    auto g = k.lock();
    k.release(g, *state_, true);
}

bool RecursiveLock::tryLock() {
    auto& k = Kernel::get();
    auto g = k.lock();
    return k.tryAcquire(g, *state_, true);
}

const std::string& RecursiveLock::name() const {
    return state_->name;
}

void RecursiveLock::setName(std::string name) {
    auto g = Kernel::get().lock();
    state_->name = std::move(name);
}

} // namespace platform
