#pragma once

#include "platform/dispatch/LockBase.hpp"

#include <string>

namespace platform {

/// A mutual-exclusion lock. Locking it again on the thread that holds it is a deadlock and throws
/// `platform::Error`; unlocking it from another thread is logged to standard error and ignored.
/// Contended waits block through the scheduler (in the simulated mode a wait for a lock held by a
/// thread that waits for one of ours is reported as a deadlock). Satisfies BasicLockable, so
/// `std::lock_guard` works. Any thread.
class Lock : public detail::LockBase {
public:
    Lock()
        : LockBase(false, {}) {}
    explicit Lock(std::string name)
        : LockBase(false, std::move(name)) {}
};

} // namespace platform
