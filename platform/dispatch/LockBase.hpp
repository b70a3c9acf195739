#pragma once

#include <memory>
#include <string>
#include <utility>

namespace platform {

namespace detail {

struct LockState;

/// The one implementation behind `Lock` and `RecursiveLock`; they differ only in whether the
/// holding thread may take the lock again. Contended waits block through the scheduler (in the
/// simulated mode a wait for a lock held by a thread that waits for one of ours is reported as a
/// deadlock). Satisfies BasicLockable, so `std::lock_guard` works. Any thread.
class LockBase {
public:
    LockBase(const LockBase&) = delete;
    LockBase& operator=(const LockBase&) = delete;

    void lock();
    void unlock();
    /// Takes the lock when it is free (or, for a recursive lock, already ours); never blocks.
    bool tryLock();
    bool try_lock() { return tryLock(); }

    const std::string& name() const;
    void setName(std::string name);

    /// Runs `f` with the lock held and returns its result; unlocks also when `f` throws.
    template <class F>
    auto withLock(F&& f) -> decltype(f()) {
        struct Unlock {
            LockBase& l;
            ~Unlock() { l.unlock(); }
        };
        lock();
        Unlock u{*this};
        return std::forward<F>(f)();
    }

protected:
    LockBase(bool recursive, std::string name);
    ~LockBase();

private:
    std::shared_ptr<LockState> state_; // shared with a waiting frame
    bool recursive_;
};

} // namespace detail

} // namespace platform
