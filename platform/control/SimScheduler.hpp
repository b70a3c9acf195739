#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace platform {

/// The simulator's control of time and threads. For tests and the desktop console only; the
/// system's code never calls it.
///
/// In the simulated mode real threads stand for the main thread and every queue worker, but only
/// one runs at a time. Every blocking call of the platform hands the baton on; when no thread can
/// run, the virtual clock jumps to the earliest wake-up (a timed wait, a due timer, a delayed
/// dispatch or a scheduled event) and the threads due then run in the order they began to wait.
/// Same inputs, same interleaving, every run.
///
/// The main thread is the thread that called `reset()` (or `Runtime::start`); in tests, the
/// test's own thread. `runFor`, `runUntil` and `drainMainQueue` must be called on it: they turn the
/// main run loop in the default mode, so main-queue blocks, timers and other threads run meanwhile.
///
/// When every thread waits and nothing is scheduled (or threads wait for locks held by each
/// other), the blocking call of the main thread throws `platform::Error` with a report that names
/// each thread and what it waits for, so a test fails instead of hanging. An exception escaping a
/// block on a worker is reported the same way.
///
/// In the real mode `now()` counts real seconds since start, the run calls turn the real main run
/// loop and `schedule` dispatches the event to the main queue at that time.
class SimScheduler {
public:
    static SimScheduler& shared();

    /// Virtual seconds since the last reset.
    double now() const;

    /// Runs `event` at virtual time `atVirtualTime` (seconds since reset; a past time means as soon
    /// as possible). Events run on the main thread, with the baton held, before any thread whose
    /// wake-up falls on the same instant, wherever the main thread waits (even in a semaphore
    /// wait or a lock), but never inside another event. Events at the same instant run in the order
    /// they were scheduled. An event should not block; an exception from it propagates out of the
    /// main thread's current platform call. `label` names the event in reports. Any thread.
    void schedule(double atVirtualTime, std::function<void()> event, std::string label = {});

    /// Turns the main run loop in the default mode for `seconds` of virtual time; on return
    /// `now()` has advanced by exactly `seconds` and everything due up to and at that instant has
    /// run (as after `drainMainQueue`). Main thread.
    void runFor(double seconds);

    /// Turns the main run loop until `predicate` holds (true) or `timeoutSeconds` of virtual time
    /// have passed and everything due at that instant has run (false). The predicate runs on the
    /// main thread, before anything else, after every turn and whenever every other thread has
    /// come to a stop. Main thread.
    bool runUntil(std::function<bool()> predicate, double timeoutSeconds);

    /// Without advancing the clock: runs due events, due timers and the main queue, and lets every
    /// runnable thread run, until nothing more can happen at this instant. Main thread.
    void drainMainQueue();

    /// Stops and joins every worker, drops all queued work, timers, observers and events, restarts
    /// the virtual clock at 0 in the simulated mode and makes the calling thread the main thread.
    void reset();

    /// One line per live thread: its name and what it waits for.
    std::string describeThreads() const;
    /// Live threads (main, workers, helpers).
    std::size_t threadCount() const;
    /// Sets the wall clock's reading at virtual time 0 (seconds since 1970; the default is
    /// 2026-01-01 00:00:00 UTC). Kept across resets.
    void setWallClockOrigin(double secondsSince1970);

private:
    SimScheduler() = default;
};

} // namespace platform
