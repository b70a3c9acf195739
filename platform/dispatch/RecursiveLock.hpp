#pragma once

#include "platform/dispatch/LockBase.hpp"

#include <string>

namespace platform {

/// A lock that the thread holding it may take again; it is free once every lock has been matched
/// by an unlock. Unlocking from a thread that does not hold it is logged and ignored.
/// Contended waits block through the scheduler (in the simulated mode a wait for a lock held by a
/// thread that waits for one of ours is reported as a deadlock). Satisfies BasicLockable, so
/// `std::lock_guard` works. Any thread.
class RecursiveLock : public detail::LockBase {
public:
    RecursiveLock()
        : LockBase(true, {}) {}
    explicit RecursiveLock(std::string name)
        : LockBase(true, std::move(name)) {}
};

} // namespace platform
