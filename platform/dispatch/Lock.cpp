#include "platform/dispatch/Lock.hpp"

#include "platform/internal/Kernel.hpp"

namespace platform {

using detail::Kernel;

Lock::Lock()
    : state_(std::make_shared<detail::LockState>()) {}

Lock::Lock(std::string name)
    : Lock() {
    state_->name = std::move(name);
}

Lock::~Lock() = default;

void Lock::lock() {
    auto& k = Kernel::get();
    auto state = state_;
    auto g = k.lock();
    k.acquire(g, *state, false);
}

void Lock::unlock() {
    auto& k = Kernel::get();
    auto g = k.lock();
    k.release(g, *state_, false);
}

bool Lock::tryLock() {
    auto& k = Kernel::get();
    auto g = k.lock();
    return k.tryAcquire(g, *state_, false);
}

const std::string& Lock::name() const {
    return state_->name;
}

void Lock::setName(std::string name) {
    auto g = Kernel::get().lock();
    state_->name = std::move(name);
}

} // namespace platform
