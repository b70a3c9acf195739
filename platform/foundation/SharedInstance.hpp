#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <typeinfo>

namespace platform {

/// Whose state a shared instance holds.
enum class SharedScope {
    /// The program's process (the default): the program's own instances (`src/`) and the
    /// platform state of its process: the application object, its event queue, notification
    /// centers, workspace object and in-memory user defaults. Made anew when the program is
    /// launched again (`SharedInstances::resetProgram`).
    program,
    /// The simulated desktop around the program, which outlives it: displays, other applications,
    /// their windows, the pointer and keyboard, the menu bar, the system log, and the settings,
    /// scripts and journals of the simulator and the console. Reset only by
    /// `SharedInstances::resetAll`.
    desktop,
};

namespace detail {
/// Adds a resetter of an instance of `scope` to the registry that `SharedInstances` runs, newest
/// first. Used by `SharedInstance<T>`; nothing else registers.
void registerSharedReset(std::function<void()> reset, SharedScope scope);
/// Runs every registered resetter, newest first (what `SharedInstances::resetAll` does).
void resetAllShared();
/// Runs the resetters of the program's instances, newest first (`SharedInstances::resetProgram`).
void resetProgramShared();

/// The scope a type declares with a `static constexpr SharedScope sharedScope` member; the
/// program's when it declares none.
template <class T>
constexpr SharedScope sharedScopeOf() {
    if constexpr (requires { T::sharedScope; })
        return T::sharedScope;
    else
        return SharedScope::program;
}
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
            detail::registerSharedReset([] { reset(); }, detail::sharedScopeOf<T>());
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
