#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/dispatch/RunLoopMode.hpp"
#include "platform/dispatch/Runtime.hpp"

namespace platform {
class Timer;
class RunLoopObserver;
} // namespace platform

/// The scheduler kernel behind the platform's clocks, queues, locks and the main run loop.
///
/// Internal to `platform/`: the app-facing types (`DispatchQueue`, `DispatchSemaphore`, `Lock`,
/// `RunLoop`, ...) are thin handles over it, and `SimScheduler` is its control face for tests.
///
/// One mutex guards every piece of state here and every synchronisation object built on it. In
/// the real mode blocked threads sleep on one condition variable with the host's monotonic clock.
/// In the simulated mode exactly one registered thread runs at a time (it holds the baton); a
/// thread that blocks hands the baton to the next runnable thread in FIFO order, and when none can
/// run the virtual clock jumps to the earliest wake-up (a timed wait, a due timer of the main run
/// loop, a delayed dispatch or a scheduled simulator event).
namespace platform::detail {

/// Nanoseconds of the kernel's monotonic clock (the machine's uptime). In the simulated mode it
/// starts at `kSimulatedBootUptime` on every reset.
using Nanos = std::int64_t;
inline constexpr Nanos kNever = INT64_MAX;
inline constexpr Nanos kSimulatedBootUptime = 1000LL * 1000000000LL;

/// Seconds to nanoseconds, rounded to the nearest nanosecond and clamped (NaN gives 0).
Nanos toNanos(double seconds);
/// `now + seconds`, saturating at `kNever`.
Nanos after(Nanos now, double seconds);
/// Nanoseconds as seconds with six decimals ("1.500000 s"), for reports.
std::string secondsText(Nanos n);

struct ThreadRecord;

/// Something threads block on (a queue, a semaphore, a lock). Guarded by the kernel mutex. A
/// channel that outlives a reset forgets its stale waiters by generation.
struct WaitChannel {
    std::vector<ThreadRecord*> waiters;
    std::uint64_t generation = 0;
};

/// Thrown inside a thread that the kernel stops at a reset; it unwinds the thread to its entry.
/// Deliberately not a `std::exception`, so `catch (const std::exception&)` does not swallow it.
struct ThreadCancelled {};

/// Why a thread waits, for the deadlock report. `detail` may be null.
struct WaitReason {
    const char* what = "";
    const std::string* detail = nullptr;
    bool idle = false; // an idle pool worker or helper: not part of a deadlock
};

/// The state of a `Lock` or `RecursiveLock`, guarded by the kernel mutex.
struct LockState {
    std::string name;
    ThreadRecord* owner = nullptr;
    std::uint64_t generation = 0;
    int depth = 0;
    WaitChannel channel;
};

/// One registered thread: the main thread, a pool worker or the delayed-dispatch helper.
struct ThreadRecord {
    enum class State { runnable, running, blocked, exited };
    int id = 0;
    std::string name;
    State state = State::runnable;
    std::condition_variable cv; // simulated mode: signalled when this thread gets the baton
    std::thread thread;         // empty for the main thread and for foreign threads
    WaitChannel* channel = nullptr;
    Nanos wakeAt = kNever;
    std::uint64_t blockSeq = 0;
    WaitReason reason;
    LockState* waitingForLock = nullptr;
    bool cancelled = false;
    bool wakeOnQuiescence = false;
    std::uint64_t blockedEpoch = 0;
    bool inEvent = false;
};

class Kernel {
public:
    using Guard = std::unique_lock<std::mutex>;
    using Job = std::function<void()>;

    /// Re-locks the guard when a callback run without the lock leaves by an exception.
    struct Relock {
        Guard& g;
        ~Relock() {
            if (!g.owns_lock()) g.lock();
        }
    };

    /// The one kernel (never destroyed, so that threads parked at exit touch valid memory).
    static Kernel& get();

    /// Locks the kernel (starting it in the simulated mode on first use).
    Guard lock() {
        ensureStarted();
        return Guard(mutex_);
    }

    /// Stops and joins every thread the kernel started, clears all queues, timers, observers and
    /// events, and starts over in `mode` with the calling thread as the main thread. In the
    /// simulated mode the clock restarts at `kSimulatedBootUptime`.
    void start(Runtime::Mode mode);
    /// Starts in the simulated mode on first use when nobody called `start`.
    void ensureStarted();

    Runtime::Mode mode() const { return mode_.load(std::memory_order_acquire); }
    bool simulated() const { return mode() == Runtime::Mode::simulated; }
    std::uint64_t generation() const { return generation_.load(std::memory_order_acquire); }
    /// The turns the main run loop has begun since the process started (see `RunLoop::mainTurns`).
    static std::uint64_t mainTurns() { return mainTurns_.load(std::memory_order_acquire); }

    /// The monotonic clock in nanoseconds (uptime). Any thread.
    Nanos now() const;
    bool isMainThread();
    /// Wall-clock seconds since 1970 at simulated boot (the virtual wall clock's origin).
    void setWallClockOrigin(double secondsSince1970);
    /// The simulated wall clock: the origin plus the virtual time since boot. Lock-free.
    double wallNow() const;
    /// Where the simulator's virtual time 0 sits on this clock: the boot uptime in the simulated
    /// mode, the real clock's reading at start in the real mode.
    Nanos origin() const { return origin_.load(std::memory_order_acquire); }

    // ---- blocking (caller holds the guard) ----

    /// Blocks until `pred()` holds (true) or the deadline passes (false). `pred` runs under the
    /// lock. Throws `ThreadCancelled` when the kernel stops the thread, and on the main thread of
    /// the simulated mode throws `platform::Error` with the report when the simulation failed
    /// (deadlock, uncaught exception in a worker).
    template <class Pred>
    bool wait(Guard& g, WaitChannel* ch, Nanos deadline, const WaitReason& reason, Pred&& pred) {
        while (true) {
            if (pred()) return true;
            if (deadline != kNever && now() >= deadline) return false;
            if (!block(g, ch, deadline, reason)) return false;
        }
    }
    /// Blocks once: until notified on `ch`, the deadline, or any other wake-up. Returns false
    /// only for a cancelled thread that is already unwinding (callers then give up).
    bool block(Guard& g, WaitChannel* ch, Nanos deadline, const WaitReason& reason);
    void notifyAll(Guard& g, WaitChannel& ch);
    void notifyOne(Guard& g, WaitChannel& ch);
    /// Simulated mode: lets every other runnable thread run before the caller continues.
    /// Returns false when none was runnable.
    bool yield(Guard& g);

    // ---- locks ----
    void acquire(Guard& g, LockState& lock, bool recursive);
    bool tryAcquire(Guard& g, LockState& lock, bool recursive);
    void release(Guard& g, LockState& lock, bool recursive);

    // ---- work ----
    /// Runs `job` on a worker of the global pool (a new thread when none is idle).
    void submitGlobal(Guard& g, Job job);
    /// Appends `job` to the main queue and wakes the main run loop.
    void submitMain(Guard& g, Job job);
    /// Calls `action` (under the lock, on the delayed-dispatch helper) at `when`.
    void submitAt(Guard& g, Nanos when, std::function<void(Guard&)> action);
    /// Runs a job on the calling worker; an escaping exception fails the simulation (simulated)
    /// or terminates the program (real), as an uncaught exception on a queue does.
    void runJob(const Job& job);

    // ---- the main run loop (main thread) ----
    /// Runs the main run loop in `mode` until `deadline`, until `stop()` holds (checked after
    /// every step and whenever the simulation becomes quiescent), or, with `drainOnly`, until
    /// nothing more can happen without the clock advancing. Returns whether `stop` held.
    bool runMainLoop(RunLoopMode mode, Nanos deadline, const std::function<bool()>* stop, bool drainOnly);
    /// Runs the main run loop in `mode` for at most `seconds` until one of `descriptors` (host
    /// file descriptors) is readable (or at its end, hung up or in error); returns the index of
    /// the first such descriptor, none when the time ran out. Real mode: the wait between turns is
    /// a `ppoll` on the descriptors and the main loop's wake pipe, so main-queue work and timers
    /// added meanwhile wake it. Simulated mode: what is due now runs (the clock does not move),
    /// then the descriptors are polled for up to `seconds` of real time.
    std::optional<std::size_t> runMainLoopUntilReadable(RunLoopMode mode, double seconds,
                                                        const std::vector<int>& descriptors);
    /// Waits up to `seconds` of real time (infinite: no limit) for one of `descriptors` to be
    /// readable, without the lock; the index of the first readable one, none otherwise.
    static std::optional<std::size_t> pollReadable(const std::vector<int>& descriptors, double seconds);
    void addTimer(const std::shared_ptr<Timer>& timer, RunLoopMode mode);
    /// Valid timers on the main run loop.
    std::size_t scheduledTimerCount();
    /// Whether work runs or waits on the global queues: a queued job, or a pool worker that is
    /// not idle (running, sleeping or blocked in a job).
    bool globalWorkPending();
    /// Invalidates every timer on the main run loop (the program that made them has ended).
    void invalidateMainRunLoopTimers();
    void timerChanged();
    void addObserver(const std::shared_ptr<RunLoopObserver>& observer, RunLoopMode mode);
    void removeObserver(const std::shared_ptr<RunLoopObserver>& observer, RunLoopMode mode);
    bool hasObserver(const std::shared_ptr<RunLoopObserver>& observer, RunLoopMode mode);
    std::optional<RunLoopMode> currentMainMode();
    bool insideMainQueueBlock();

    // ---- simulator control ----
    void scheduleEvent(Nanos at, std::function<void()> event, std::string label);
    std::string describeThreads();
    std::size_t threadCount();

private:
    Kernel() = default;
    struct Event {
        std::function<void()> fn;
        std::string label;
    };
    struct TimerEntry {
        std::shared_ptr<Timer> timer;
        std::uint64_t seq;
    };
    struct ObserverEntry {
        std::shared_ptr<RunLoopObserver> observer;
        RunLoopMode mode;
        std::uint64_t seq;
    };
    struct Delayed {
        std::function<void(Guard&)> action;
    };

    ThreadRecord* self();
    ThreadRecord* selfOrNull();
    void stopAll(Guard& g);
    /// Cancels every thread but the main one and waits until each has left: simulated, by running
    /// each out in turn (`runCancelledThreadsOut`); real, by waking them until all have exited.
    void cancelThreads(Guard& g, bool keepChannels);
    void runCancelledThreadsOut(Guard& g, bool keepChannels);
    void awaitCancelledThreads(Guard& g);
    /// Whether `me` goes on: false for a cancelled thread that is already unwinding; throws
    /// `ThreadCancelled` at any other cancelled thread.
    bool goesOn(ThreadRecord* me);
    /// The blocking of `block`: simulated, `park` queues the thread on its channel and deadline
    /// and hands the baton on; real, `sleepUntil` waits on the condition variable.
    void park(Guard& g, ThreadRecord* me, WaitChannel* ch, Nanos deadline);
    void sleepUntil(Guard& g, ThreadRecord* me, Nanos deadline);
    /// Wakes every waiter on `ch`, or the first one (`all` false). Real mode wakes every sleeper.
    void notify(Guard& g, WaitChannel& ch, bool all);
    void wakeWaiters(WaitChannel& ch, bool all);
    /// "deadlock at virtual time <t>: <what>".
    std::string deadlockHeading(const char* what);
    [[noreturn]] void throwFailure(Guard& g, std::string report);
    void clearState();
    void normalize(WaitChannel& ch);
    void makeRunnable(ThreadRecord* t, bool front = false);
    void unlink(ThreadRecord* t);
    void scheduleNext(Guard& g);
    void handOff(Guard& g, ThreadRecord* me);
    void fail(Guard& g, const std::string& report);
    void afterWake(Guard& g, ThreadRecord* me);
    void runDueEvents(Guard& g);
    std::string deadlockReport();
    std::string describe(const ThreadRecord& t);
    ThreadRecord* spawn(Guard& g, std::string name, std::function<void()> body);
    void threadEntry(ThreadRecord* rec, const std::function<void()>& body);
    void workerLoop();
    void bury(Guard& g);
    void delayedLoop();
    bool fireDueTimers(Guard& g, RunLoopMode mode);
    bool serviceMainQueue(Guard& g);
    void notifyObservers(Guard& g, RunLoopMode mode, unsigned activity);
    Nanos nextTimerFire(RunLoopMode mode);
    /// The descriptors a main run loop waits for besides its own work, and which became readable.
    struct InputWait {
        const std::vector<int>* descriptors = nullptr;
        std::optional<std::size_t> ready;
    };
    bool runMainLoop(RunLoopMode mode, Nanos deadline, const std::function<bool()>* stop, bool drainOnly,
                     InputWait* input);
    /// Real mode: waits with the lock released until `wakeAt`, a descriptor of `input` is readable
    /// or the main loop is woken (its wake pipe); true when a descriptor is readable.
    bool waitForInput(Guard& g, InputWait& input, Nanos wakeAt);
    /// Wakes the main run loop: its channel, and its wake pipe while it waits in `waitForInput`.
    void wakeMainLoop(Guard& g);
    std::string lockCycle(ThreadRecord* me, LockState& lock);

    mutable std::mutex mutex_;
    std::atomic<Runtime::Mode> mode_{Runtime::Mode::simulated};
    std::atomic<std::uint64_t> generation_{1};
    /// Process-wide and never reset, so that a count seen under one scheduler never comes back.
    static inline std::atomic<std::uint64_t> mainTurns_{0};
    std::atomic<bool> started_{false};
    std::atomic<Nanos> virtualNow_{kSimulatedBootUptime};
    std::atomic<Nanos> origin_{kSimulatedBootUptime};
    std::atomic<double> wallOrigin_{1767225600.0}; // 2026-01-01 00:00:00 UTC

    // threads
    std::vector<std::unique_ptr<ThreadRecord>> threads_;
    ThreadRecord* main_ = nullptr;
    std::atomic<ThreadRecord*> mainAtomic_{nullptr};
    ThreadRecord* current_ = nullptr;
    std::deque<ThreadRecord*> runnable_;
    std::set<std::tuple<Nanos, std::uint64_t, ThreadRecord*>> timed_;
    std::uint64_t seq_ = 0;
    std::uint64_t epoch_ = 0;
    int nextThreadId_ = 1;
    bool stopping_ = false;
    std::condition_variable realCv_;
    std::string failure_;

    // simulator events
    std::map<std::pair<Nanos, std::uint64_t>, Event> events_;

    // the global pool
    std::deque<Job> poolJobs_;
    WaitChannel poolChannel_;
    int idleWorkers_ = 0;
    int wakeTokens_ = 0;

    // delayed dispatch
    std::map<std::pair<Nanos, std::uint64_t>, Delayed> delayed_;
    WaitChannel delayedChannel_;
    ThreadRecord* delayedThread_ = nullptr;

    // the main queue and run loop
    std::deque<Job> mainJobs_;
    WaitChannel mainChannel_;
    std::uint64_t mainWake_ = 0;
    int mainQueueDepth_ = 0;
    std::vector<RunLoopMode> modeStack_;
    std::vector<TimerEntry> timers_;
    std::vector<ObserverEntry> observers_;
    std::vector<std::shared_ptr<void>> graveyard_; // released outside the lock
    // The main loop's wake pipe (made on first use, never closed) and whether the main thread
    // waits on it now.
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    bool mainPolling_ = false;
};

} // namespace platform::detail
