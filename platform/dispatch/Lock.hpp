#pragma once

#include <memory>
#include <string>
#include <utility>

namespace platform {

namespace detail {
struct LockState;
}

/// A mutual-exclusion lock. Locking it again on the thread that holds it is a deadlock and throws
/// `platform::Error`; unlocking it from another thread is logged to standard error and ignored.
/// Contended waits block through the scheduler (in the simulated mode a wait for a lock held by a
/// thread that waits for one of ours is reported as a deadlock). Satisfies BasicLockable, so
/// `std::lock_guard` works. Any thread.
class Lock {
public:
    Lock();
    explicit Lock(std::string name);
    ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

    void lock();
    void unlock();
    /// Takes the lock when it is free (or, for a recursive lock, already ours); never blocks.
    bool tryLock();
    bool try_lock() { return tryLock(); }

    const std::string& name() const;
    void setName(std::string name);

    /// Runs `f` with the lock held and returns its result.
    template <class F>
    auto withLock(F&& f) -> decltype(f()) {
        struct Unlock {
            Lock& l;
            ~Unlock() { l.unlock(); }
        };
        lock();
        Unlock u{*this};
        return std::forward<F>(f)();
    }

private:
    std::shared_ptr<detail::LockState> state_; // shared with a waiting frame
};

} // namespace platform
