#include "platform/dispatch/LockBase.hpp"

#include "platform/internal/Kernel.hpp"

namespace platform::detail {

LockBase::LockBase(bool recursive, std::string name)
    : state_(std::make_shared<LockState>())
    , recursive_(recursive) {
    state_->name = std::move(name);
}

LockBase::~LockBase() = default;

void LockBase::lock() {
    auto& k = Kernel::get();
    auto state = state_; // kept alive while this thread waits
    auto g = k.lock();
    k.acquire(g, *state, recursive_);
}

void LockBase::unlock() {
    auto& k = Kernel::get();
    auto g = k.lock();
    k.release(g, *state_, recursive_);
}

bool LockBase::tryLock() {
    auto& k = Kernel::get();
    auto g = k.lock();
    return k.tryAcquire(g, *state_, recursive_);
}

const std::string& LockBase::name() const {
    return state_->name;
}

void LockBase::setName(std::string name) {
    auto g = Kernel::get().lock();
    state_->name = std::move(name);
}

} // namespace platform::detail
