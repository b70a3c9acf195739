// The scheduler kernel: what both modes share and the real-time path. The simulated mode's baton,
// virtual clock and deadlock reports are in KernelSimulated.cpp, the main run loop in
// KernelRunLoop.cpp.

#include "platform/internal/Kernel.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "platform/dispatch/RunLoopObserver.hpp"
#include "platform/dispatch/Timer.hpp"
#include "platform/foundation/Date.hpp"
#include "platform/foundation/Error.hpp"

namespace platform::detail {

namespace {

thread_local ThreadRecord* tlsRecord = nullptr;
thread_local std::uint64_t tlsGeneration = 0;

} // namespace

std::string secondsText(Nanos n) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6f s", static_cast<double>(n) / 1e9);
    return buf;
}

Nanos toNanos(double s) {
    if (std::isnan(s)) return 0;
    const double ns = s * 1e9;
    if (ns >= 9.2e18) return kNever;
    if (ns <= -9.2e18) return -kNever;
    return static_cast<Nanos>(std::llround(ns));
}

Nanos after(Nanos now, double s) {
    const Nanos d = toNanos(s);
    if (d >= 0 && now > kNever - d) return kNever;
    return now + d;
}

Kernel& Kernel::get() {
    static Kernel* kernel = new Kernel();
    return *kernel;
}

void Kernel::ensureStarted() {
    if (started_.load(std::memory_order_acquire)) return;
    static std::once_flag once;
    std::call_once(once, [this] {
        if (!started_.load()) start(Runtime::Mode::simulated);
    });
}

Nanos Kernel::now() const {
    if (simulated()) return virtualNow_.load(std::memory_order_acquire);
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool Kernel::isMainThread() {
    ensureStarted();
    return tlsRecord != nullptr && tlsGeneration == generation() && tlsRecord == mainAtomic_.load();
}

void Kernel::setWallClockOrigin(double secondsSince1970) {
    wallOrigin_.store(secondsSince1970);
}

double Kernel::wallNow() const {
    return wallOrigin_.load() + static_cast<double>(virtualNow_.load() - kSimulatedBootUptime) / 1e9;
}

// ---------------------------------------------------------------------------------------------
// start and stop

void Kernel::start(Runtime::Mode mode) {
    std::vector<std::unique_ptr<ThreadRecord>> oldThreads;
    std::deque<Job> oldPool, oldMain;
    std::map<std::pair<Nanos, std::uint64_t>, Event> oldEvents;
    std::map<std::pair<Nanos, std::uint64_t>, Delayed> oldDelayed;
    std::vector<TimerEntry> oldTimers;
    std::vector<ObserverEntry> oldObservers;
    std::vector<std::shared_ptr<void>> oldGraves;
    {
        Guard g(mutex_);
        if (ThreadRecord* caller = selfOrNull();
            caller != nullptr && caller != main_ && caller->thread.joinable())
            throw Error("the scheduler can only be restarted from the main thread");
        stopAll(g);
        oldThreads.swap(threads_);
        oldPool.swap(poolJobs_);
        oldMain.swap(mainJobs_);
        oldEvents.swap(events_);
        oldDelayed.swap(delayed_);
        oldTimers.swap(timers_);
        oldObservers.swap(observers_);
        oldGraves.swap(graveyard_);
        for (auto& t : oldTimers)
            t.timer->onRunLoop_ = false;
        runnable_.clear();
        timed_.clear();
        failure_.clear();
        idleWorkers_ = 0;
        wakeTokens_ = 0;
        delayedThread_ = nullptr;
        mainWake_ = 0;
        mainQueueDepth_ = 0;
        modeStack_.clear();
        epoch_ = 0;
        seq_ = 0;
        nextThreadId_ = 1;

        mode_.store(mode, std::memory_order_release);
        const std::uint64_t gen = generation_.load() + 1;
        generation_.store(gen, std::memory_order_release);
        virtualNow_.store(kSimulatedBootUptime);
        origin_.store(mode == Runtime::Mode::simulated ? kSimulatedBootUptime : now());

        auto rec = std::make_unique<ThreadRecord>();
        rec->id = 0;
        rec->name = "main";
        rec->state = ThreadRecord::State::running;
        main_ = rec.get();
        mainAtomic_.store(main_);
        current_ = main_;
        threads_.push_back(std::move(rec));
        tlsRecord = main_;
        tlsGeneration = gen;
        started_.store(true, std::memory_order_release);
    }
    // Whatever the dropped work captured is released here, without the lock.
    for (auto& t : oldThreads)
        if (t->thread.joinable()) t->thread.join();
    // The wall clock follows the virtual clock in the simulated mode.
    if (mode == Runtime::Mode::simulated)
        Date::setNowProvider([this] { return wallNow(); });
    else
        Date::setNowProvider({});
}

void Kernel::stopAll(Guard& g) {
    stopping_ = true;
    cancelThreads(g, false);
    current_ = nullptr;
    main_ = nullptr;
    mainAtomic_.store(nullptr);
    stopping_ = false;
}

void Kernel::cancelThreads(Guard& g, bool keepChannels) {
    const bool wasStopping = stopping_;
    stopping_ = true;
    for (auto& t : threads_)
        if (t.get() != main_) t->cancelled = true;
    if (simulated())
        runCancelledThreadsOut(g, keepChannels);
    else
        awaitCancelledThreads(g);
    idleWorkers_ = 0;
    wakeTokens_ = 0;
    delayedThread_ = nullptr;
    stopping_ = wasStopping;
}

void Kernel::awaitCancelledThreads(Guard& g) {
    realCv_.notify_all();
    for (auto& t : threads_) {
        if (t.get() == main_ || !t->thread.joinable()) continue;
        while (t->state != ThreadRecord::State::exited) {
            realCv_.notify_all();
            realCv_.wait_for(g, std::chrono::milliseconds(10));
        }
    }
}

void Kernel::throwFailure(Guard& g, std::string report) {
    // Stop the workers while the objects they wait on still exist (the test's stack unwinds next).
    cancelThreads(g, true);
    failure_.clear();
    throw Error(report);
}

// ---------------------------------------------------------------------------------------------
// threads

ThreadRecord* Kernel::selfOrNull() {
    if (tlsRecord != nullptr && tlsGeneration == generation()) return tlsRecord;
    return nullptr;
}

ThreadRecord* Kernel::self() {
    if (ThreadRecord* r = selfOrNull()) return r;
    if (simulated())
        throw Error("a thread unknown to the simulated scheduler called a blocking platform function");
    auto rec = std::make_unique<ThreadRecord>();
    rec->id = nextThreadId_++;
    rec->name = "thread " + std::to_string(rec->id);
    rec->state = ThreadRecord::State::running;
    tlsRecord = rec.get();
    tlsGeneration = generation();
    threads_.push_back(std::move(rec));
    return tlsRecord;
}

bool Kernel::goesOn(ThreadRecord* me) {
    if (!me->cancelled) return true;
    if (std::uncaught_exceptions() > 0) return false;
    throw ThreadCancelled{};
}

bool Kernel::block(Guard& g, WaitChannel* ch, Nanos deadline, const WaitReason& reason) {
    ThreadRecord* me = self();
    if (!goesOn(me)) return false;
    me->reason = reason;
    if (simulated())
        park(g, me, ch, deadline);
    else
        sleepUntil(g, me, deadline);
    if (!goesOn(me)) return false;
    if (me == main_ && simulated()) {
        if (!failure_.empty()) throwFailure(g, std::move(failure_));
        runDueEvents(g);
    }
    return true;
}

void Kernel::sleepUntil(Guard& g, ThreadRecord* me, Nanos deadline) {
    me->state = ThreadRecord::State::blocked;
    if (deadline == kNever)
        realCv_.wait(g);
    else
        realCv_.wait_until(g, std::chrono::steady_clock::time_point(std::chrono::nanoseconds(deadline)));
    me->state = ThreadRecord::State::running;
}

void Kernel::notifyAll(Guard& g, WaitChannel& ch) {
    notify(g, ch, true);
}

void Kernel::notifyOne(Guard& g, WaitChannel& ch) {
    notify(g, ch, false);
}

void Kernel::notify(Guard& g, WaitChannel& ch, bool all) {
    (void)g;
    // Real mode: every sleeper wakes and checks its own condition again.
    if (!simulated()) {
        realCv_.notify_all();
        return;
    }
    wakeWaiters(ch, all);
}

void Kernel::fail(Guard& g, const std::string& report) {
    (void)g;
    if (failure_.empty()) failure_ = report;
    if (!simulated()) {
        std::fprintf(stderr, "%s\n", report.c_str());
        std::terminate();
    }
    if (main_ != nullptr && main_->state == ThreadRecord::State::blocked) makeRunnable(main_, true);
}

std::string Kernel::describe(const ThreadRecord& t) {
    std::string s = t.name + ": ";
    switch (t.state) {
    case ThreadRecord::State::running:
        s += "running";
        break;
    case ThreadRecord::State::runnable:
        s += "runnable";
        break;
    case ThreadRecord::State::exited:
        s += "exited";
        break;
    case ThreadRecord::State::blocked:
        s += t.reason.what;
        if (t.reason.detail != nullptr && !t.reason.detail->empty()) s += " '" + *t.reason.detail + "'";
        if (t.waitingForLock != nullptr && t.waitingForLock->owner != nullptr)
            s += " held by " + t.waitingForLock->owner->name;
        if (t.wakeAt != kNever) s += " until " + secondsText(t.wakeAt - kSimulatedBootUptime);
        break;
    }
    return s;
}

std::string Kernel::describeThreads() {
    Guard g = lock();
    std::string s;
    for (auto& t : threads_) {
        if (t->state == ThreadRecord::State::exited) continue;
        if (!s.empty()) s += "\n";
        s += describe(*t);
    }
    return s;
}

bool Kernel::globalWorkPending() {
    Guard g = lock();
    if (!poolJobs_.empty()) return true;
    return std::any_of(threads_.begin(), threads_.end(), [](auto& t) {
        if (t->state == ThreadRecord::State::exited || t->name.rfind("worker ", 0) != 0) return false;
        return t->state != ThreadRecord::State::blocked || !t->reason.idle;
    });
}

std::size_t Kernel::threadCount() {
    Guard g = lock();
    return static_cast<std::size_t>(std::count_if(
        threads_.begin(), threads_.end(), [](auto& t) { return t->state != ThreadRecord::State::exited; }));
}

ThreadRecord* Kernel::spawn(Guard& g, std::string name, std::function<void()> body) {
    (void)g;
    auto rec = std::make_unique<ThreadRecord>();
    rec->id = nextThreadId_++;
    rec->name = std::move(name);
    rec->state = ThreadRecord::State::runnable;
    ThreadRecord* r = rec.get();
    threads_.push_back(std::move(rec));
    if (simulated()) runnable_.push_back(r);
    const std::uint64_t gen = generation();
    r->thread = std::thread([this, r, gen, body = std::move(body)] {
        tlsRecord = r;
        tlsGeneration = gen;
        threadEntry(r, body);
    });
    return r;
}

void Kernel::threadEntry(ThreadRecord* r, const std::function<void()>& body) {
    bool run = true;
    {
        Guard g(mutex_);
        if (simulated()) r->cv.wait(g, [&] { return current_ == r; });
        r->state = ThreadRecord::State::running;
        run = !r->cancelled;
    }
    if (run) {
        try {
            body();
        } catch (const ThreadCancelled&) {
        } catch (const std::exception& e) {
            Guard g(mutex_);
            fail(g, "uncaught exception on " + r->name + ": " + e.what());
        } catch (...) {
            Guard g(mutex_);
            fail(g, "uncaught exception on " + r->name);
        }
    }
    Guard g(mutex_);
    r->state = ThreadRecord::State::exited;
    if (simulated()) {
        if (current_ == r) current_ = nullptr;
        if (stopping_)
            realCv_.notify_all();
        else
            scheduleNext(g);
    } else {
        realCv_.notify_all();
    }
}

// ---------------------------------------------------------------------------------------------
// locks

void Kernel::acquire(Guard& g, LockState& lock, bool recursive) {
    ThreadRecord* me = self();
    const std::uint64_t gen = generation();
    if (lock.generation != gen) {
        lock.owner = nullptr;
        lock.depth = 0;
        lock.generation = gen;
    }
    if (lock.owner == nullptr) {
        lock.owner = me;
        lock.depth = 1;
        return;
    }
    if (lock.owner == me) {
        if (recursive) {
            ++lock.depth;
            return;
        }
        throw Error("deadlock: " + me->name + " locks the lock '" + lock.name + "' that it already holds");
    }
    if (simulated()) {
        const std::string cycle = lockCycle(me, lock);
        if (!cycle.empty()) {
            if (me == main_) throwFailure(g, cycle);
            fail(g, cycle);
        }
    }
    static const char* const what = "waiting for the lock";
    // Cleared however the wait ends (a deadlock report or a cancellation throws out of it): the
    // lock may be gone by the time this thread's next wait is described.
    struct Waiting {
        ThreadRecord* me;
        ~Waiting() { me->waitingForLock = nullptr; }
    } waiting{me};
    while (lock.owner != nullptr && lock.generation == gen) {
        me->waitingForLock = &lock;
        const bool ok = block(g, &lock.channel, kNever, WaitReason{what, &lock.name, false});
        me->waitingForLock = nullptr;
        if (!ok) return;
    }
    lock.owner = me;
    lock.depth = 1;
    lock.generation = gen;
}

bool Kernel::tryAcquire(Guard& g, LockState& lock, bool recursive) {
    (void)g;
    ThreadRecord* me = self();
    if (lock.generation != generation()) {
        lock.owner = nullptr;
        lock.depth = 0;
        lock.generation = generation();
    }
    if (lock.owner == nullptr) {
        lock.owner = me;
        lock.depth = 1;
        return true;
    }
    if (recursive && lock.owner == me) {
        ++lock.depth;
        return true;
    }
    return false;
}

void Kernel::release(Guard& g, LockState& lock, bool recursive) {
    ThreadRecord* me = selfOrNull();
    if (lock.generation != generation() || lock.owner == nullptr || lock.owner != me) {
        if (me != nullptr && me->cancelled) return;
        std::fprintf(stderr, "*** unlock of the lock '%s' from a thread that does not hold it\n",
                     lock.name.c_str());
        return;
    }
    if (recursive && --lock.depth > 0) return;
    lock.owner = nullptr;
    lock.depth = 0;
    notifyAll(g, lock.channel);
}

// ---------------------------------------------------------------------------------------------
// work

void Kernel::runJob(const Job& job) {
    try {
        job();
    } catch (const ThreadCancelled&) {
        throw;
    } catch (const std::exception& e) {
        Guard g(mutex_);
        ThreadRecord* me = selfOrNull();
        fail(g, "uncaught exception on " + (me ? me->name : std::string("a worker")) + ": " + e.what());
    } catch (...) {
        Guard g(mutex_);
        ThreadRecord* me = selfOrNull();
        fail(g, "uncaught exception on " + (me ? me->name : std::string("a worker")));
    }
}

void Kernel::submitGlobal(Guard& g, Job job) {
    poolJobs_.push_back(std::move(job));
    if (idleWorkers_ > 0) {
        --idleWorkers_;
        ++wakeTokens_;
        notifyOne(g, poolChannel_);
    } else {
        spawn(g, "worker " + std::to_string(nextThreadId_), [this] { workerLoop(); });
    }
}

void Kernel::workerLoop() {
    Guard g(mutex_);
    ThreadRecord* me = self();
    static const WaitReason idle{"idle", nullptr, true};
    while (!me->cancelled) {
        if (!poolJobs_.empty()) {
            Job job = std::move(poolJobs_.front());
            poolJobs_.pop_front();
            g.unlock();
            runJob(job);
            job = nullptr;
            g.lock();
            continue;
        }
        ++idleWorkers_;
        wait(g, &poolChannel_, kNever, idle, [&] { return wakeTokens_ > 0; });
        --wakeTokens_;
    }
}

void Kernel::submitMain(Guard& g, Job job) {
    mainJobs_.push_back(std::move(job));
    wakeMainLoop(g);
}

void Kernel::submitAt(Guard& g, Nanos when, std::function<void(Guard&)> action) {
    delayed_.emplace(std::make_pair(when, ++seq_), Delayed{std::move(action)});
    if (delayedThread_ == nullptr)
        delayedThread_ = spawn(g, "dispatch timer", [this] { delayedLoop(); });
    else
        notifyAll(g, delayedChannel_);
}

void Kernel::delayedLoop() {
    Guard g(mutex_);
    static const WaitReason reason{"waiting for delayed dispatches", nullptr, true};
    while (true) {
        while (!delayed_.empty() && delayed_.begin()->first.first <= now()) {
            auto node = delayed_.extract(delayed_.begin());
            node.mapped().action(g);
        }
        const Nanos next = delayed_.empty() ? kNever : delayed_.begin()->first.first;
        if (!block(g, &delayedChannel_, next, reason)) return;
    }
}

} // namespace platform::detail
