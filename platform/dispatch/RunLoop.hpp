#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/dispatch/RunLoopMode.hpp"
#include "platform/dispatch/RunLoopObserver.hpp"
#include "platform/dispatch/Timer.hpp"
#include "platform/foundation/Date.hpp"

namespace platform {

/// A thread's run loop. The main run loop services, while it runs in a mode: that mode's due
/// timers, the main queue (in the common modes, not inside a main-queue block), and the observers
/// of that mode, turn by turn, until the time it was asked to run to. A worker's run loop has no
/// sources: running it only sleeps, and timers added to it never fire.
///
/// Run the main run loop on the main thread only (in a Debug build running it elsewhere fails with
/// a `platform::Error` naming the call); adding timers and observers is safe from any thread.
class RunLoop {
public:
    static RunLoop& main();
    /// The main run loop on the main thread; a source-less run loop of the worker elsewhere.
    static RunLoop& current();

    /// Adds `timer` in `mode` (a timer may be added in several modes).
    void add(const std::shared_ptr<Timer>& timer, RunLoopMode mode);
    void addObserver(const std::shared_ptr<RunLoopObserver>& observer, RunLoopMode mode);
    void removeObserver(const std::shared_ptr<RunLoopObserver>& observer, RunLoopMode mode);
    bool containsObserver(const std::shared_ptr<RunLoopObserver>& observer, RunLoopMode mode) const;

    /// Runs in the default mode until the wall-clock instant `until` (at once when it has passed).
    /// Main thread for the main run loop.
    void run(Date until);
    /// Runs in `mode` until `until`.
    void run(RunLoopMode mode, Date until);
    /// Runs in the default mode until `untilMediaTime` (seconds on the media clock, see
    /// `mediaTime()`). Main thread for the main run loop.
    void runUntilMediaTime(double untilMediaTime);
    /// Runs in `mode` until `untilMediaTime`.
    void runUntilMediaTime(RunLoopMode mode, double untilMediaTime);
    /// Runs in the default mode for `seconds`.
    void runFor(double seconds);
    /// Runs in `mode` for `seconds`.
    void runFor(RunLoopMode mode, double seconds);

    /// Runs the main run loop in the default mode until one of `descriptors` (file descriptors of
    /// the host, e.g. standard input) can be read without blocking, or at most `seconds` (an
    /// infinite number: no limit). A descriptor at its end, hung up or in error counts as
    /// readable; a negative one is ignored. Returns the index in `descriptors` of the first
    /// readable one, none when the time ran out. In the real mode timers, the main queue and the
    /// observers are served meanwhile, and work queued from other threads wakes the wait at once;
    /// in the simulated mode what is due now runs, the virtual clock stays where it is, and the
    /// descriptors are then waited for in real time. Main run loop on the main thread only; a
    /// worker's run loop only waits for the descriptors.
    std::optional<std::size_t> runUntilReadable(const std::vector<int>& descriptors, double seconds);

    /// How many turns the main run loop has begun in this process, in any mode, nested runs
    /// included; it only grows, also across restarts of the scheduler. A cache that looks at the
    /// disk at most once per turn keeps the count of its last look. Any thread; lock-free.
    static std::uint64_t mainTurns();

    /// The mode the loop runs in now (innermost when nested); none when it does not run.
    std::optional<RunLoopMode> currentMode() const;
    bool isMain() const { return isMain_; }

private:
    explicit RunLoop(bool isMain)
        : isMain_(isMain) {}
    bool isMain_;
};

} // namespace platform
