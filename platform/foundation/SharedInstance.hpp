#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <typeinfo>

namespace platform {

namespace detail {
/// Adds a resetter to the registry that `SharedInstances::resetAll` runs, newest first.
/// Used by `SharedInstance<T>`; nothing else registers.
void registerSharedReset(std::function<void()> reset);
/// Runs every registered resetter, newest first (what `SharedInstances::resetAll` does).
void resetAllShared();
} // namespace detail

/// The holder of a shared instance. A type `X` with a shared instance writes
///
///     static X& shared() { return SharedInstance<X>::get(); }
///
/// and needs nothing else: `get()` creates the instance on first use (with `new X()`; a type with
/// a private constructor befriends `SharedInstance<X>`) and, the first time, registers a resetter
/// with `SharedInstances`. `SharedInstances::resetAll()` destroys the instance; the next `get()`
/// creates a fresh one. Because registration follows construction, an instance that reaches other
/// shared instances from its constructor is reset before them.
///
/// Any thread may call `get()`. The instance is never destroyed at program exit (it stays
/// reachable), so no destructor runs after the statics it uses are gone. A constructor that calls
/// its own type's `shared()` throws `std::logic_error` instead of recursing.
template <class T>
class SharedInstance {
public:
    static T& get() {
        auto& s = state();
        // Fast path once made: one atomic read, no lock (resets run with every worker stopped).
        if (T* made = s.instance.load(std::memory_order_acquire)) return *made;
        std::lock_guard lock(s.mutex);
        if (T* made = s.instance.load(std::memory_order_relaxed)) return *made;
        if (s.constructing)
            throw std::logic_error(std::string("shared instance of ") + typeid(T).name() +
                                   " reached from its own constructor");
        s.constructing = true;
        T* created = nullptr;
        try {
            created = new T();
        } catch (...) {
            s.constructing = false;
            throw;
        }
        s.constructing = false;
        s.instance.store(created, std::memory_order_release);
        if (!s.registered) {
            s.registered = true;
            detail::registerSharedReset([] { reset(); });
        }
        return *created;
    }

    /// Whether the instance exists now (created and not reset since).
    static bool exists() {
        std::lock_guard lock(state().mutex);
        return state().instance.load(std::memory_order_acquire) != nullptr;
    }

private:
    struct State {
        std::recursive_mutex mutex;
        std::atomic<T*> instance{nullptr};
        bool constructing = false;
        bool registered = false;
    };

    static State& state() {
        static State* s = new State();
        return *s;
    }

    static void reset() {
        T* old = nullptr;
        {
            std::lock_guard lock(state().mutex);
            old = state().instance.exchange(nullptr, std::memory_order_acq_rel);
        }
        // Destroyed outside the lock, so its destructor may reach other shared instances.
        delete old;
    }
};

} // namespace platform
