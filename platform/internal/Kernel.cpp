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

std::string seconds(Nanos n) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6f s", static_cast<double>(n) / 1e9);
    return buf;
}

} // namespace

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
    if (simulated()) {
        for (auto& t : threads_) {
            if (t.get() == main_ || t->state == ThreadRecord::State::exited || !t->thread.joinable())
                continue;
            ThreadRecord* r = t.get();
            // After a reset the objects a waiter blocked on may be gone: only forget the link.
            if (!keepChannels) r->channel = nullptr;
            unlink(r);
            runnable_.erase(std::remove(runnable_.begin(), runnable_.end(), r), runnable_.end());
            r->state = ThreadRecord::State::running;
            current_ = r;
            r->cv.notify_one();
            realCv_.wait(g, [&] { return r->state == ThreadRecord::State::exited; });
        }
        runnable_.clear();
        current_ = main_;
    } else {
        realCv_.notify_all();
        for (auto& t : threads_) {
            if (t.get() == main_ || !t->thread.joinable()) continue;
            while (t->state != ThreadRecord::State::exited) {
                realCv_.notify_all();
                realCv_.wait_for(g, std::chrono::milliseconds(10));
            }
        }
    }
    idleWorkers_ = 0;
    wakeTokens_ = 0;
    delayedThread_ = nullptr;
    stopping_ = wasStopping;
}

void Kernel::throwFailure(Guard& g, std::string report) {
    // Stop the workers while the objects they wait on still exist (the test's stack unwinds next).
    cancelThreads(g, true);
    failure_.clear();
    throw Error(report);
}

// ---------------------------------------------------------------------------------------------
// threads and the baton

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

void Kernel::normalize(WaitChannel& ch) {
    const std::uint64_t gen = generation();
    if (ch.generation != gen) {
        ch.waiters.clear();
        ch.generation = gen;
    }
}

void Kernel::unlink(ThreadRecord* t) {
    if (t->channel != nullptr) {
        auto& w = t->channel->waiters;
        w.erase(std::remove(w.begin(), w.end(), t), w.end());
        t->channel = nullptr;
    }
    if (t->wakeAt != kNever) {
        timed_.erase({t->wakeAt, t->blockSeq, t});
        t->wakeAt = kNever;
    }
}

void Kernel::makeRunnable(ThreadRecord* t, bool front) {
    unlink(t);
    t->state = ThreadRecord::State::runnable;
    if (front)
        runnable_.push_front(t);
    else
        runnable_.push_back(t);
}

void Kernel::scheduleNext(Guard& g) {
    (void)g;
    while (true) {
        if (!runnable_.empty()) {
            ThreadRecord* t = runnable_.front();
            runnable_.pop_front();
            current_ = t;
            t->state = ThreadRecord::State::running;
            ++epoch_;
            t->cv.notify_one();
            return;
        }
        ThreadRecord* m = main_;
        const bool mainBlocked = m != nullptr && m->state == ThreadRecord::State::blocked;
        if (mainBlocked && m->wakeOnQuiescence && m->blockedEpoch != epoch_) {
            makeRunnable(m);
            continue;
        }
        const bool eventsUsable = mainBlocked && !m->inEvent && !events_.empty();
        Nanos next = kNever;
        if (!timed_.empty()) next = std::get<0>(*timed_.begin());
        if (eventsUsable) next = std::min(next, events_.begin()->first.first);
        if (next == kNever) {
            if (failure_.empty()) failure_ = deadlockReport();
            if (mainBlocked) {
                makeRunnable(m);
                continue;
            }
            std::fprintf(stderr, "%s\n", failure_.c_str());
            std::abort();
        }
        if (next > virtualNow_.load()) virtualNow_.store(next, std::memory_order_release);
        const Nanos now = virtualNow_.load();
        if (eventsUsable && events_.begin()->first.first <= now) makeRunnable(m);
        while (!timed_.empty() && std::get<0>(*timed_.begin()) <= now)
            makeRunnable(std::get<2>(*timed_.begin()));
    }
}

void Kernel::handOff(Guard& g, ThreadRecord* me) {
    current_ = nullptr;
    scheduleNext(g);
    me->cv.wait(g, [&] { return current_ == me; });
    me->state = ThreadRecord::State::running;
}

bool Kernel::block(Guard& g, WaitChannel* ch, Nanos deadline, const WaitReason& reason) {
    ThreadRecord* me = self();
    if (me->cancelled) {
        if (std::uncaught_exceptions() > 0) return false;
        throw ThreadCancelled{};
    }
    me->reason = reason;
    if (!simulated()) {
        me->state = ThreadRecord::State::blocked;
        if (deadline == kNever)
            realCv_.wait(g);
        else
            realCv_.wait_until(g, std::chrono::steady_clock::time_point(std::chrono::nanoseconds(deadline)));
        me->state = ThreadRecord::State::running;
    } else {
        if (current_ != me) throw Error("internal: a thread blocked without holding the baton");
        me->state = ThreadRecord::State::blocked;
        me->blockSeq = ++seq_;
        me->blockedEpoch = epoch_;
        if (ch != nullptr) {
            normalize(*ch);
            ch->waiters.push_back(me);
            me->channel = ch;
        }
        if (deadline != kNever) {
            me->wakeAt = deadline;
            timed_.insert({deadline, me->blockSeq, me});
        }
        handOff(g, me);
    }
    if (me->cancelled) {
        if (std::uncaught_exceptions() > 0) return false;
        throw ThreadCancelled{};
    }
    if (me == main_ && simulated()) {
        if (!failure_.empty()) throwFailure(g, std::move(failure_));
        runDueEvents(g);
    }
    return true;
}

bool Kernel::yield(Guard& g) {
    if (!simulated() || runnable_.empty()) return false;
    ThreadRecord* me = self();
    if (me->cancelled) {
        if (std::uncaught_exceptions() > 0) return false;
        throw ThreadCancelled{};
    }
    me->state = ThreadRecord::State::runnable;
    runnable_.push_back(me);
    handOff(g, me);
    if (me->cancelled && std::uncaught_exceptions() == 0) throw ThreadCancelled{};
    // A worker that failed while the main thread let it run reports here, as from a blocking call.
    if (me == main_ && !failure_.empty()) throwFailure(g, std::move(failure_));
    return true;
}

void Kernel::notifyAll(Guard& g, WaitChannel& ch) {
    (void)g;
    if (!simulated()) {
        realCv_.notify_all();
        return;
    }
    normalize(ch);
    std::vector<ThreadRecord*> waiters;
    waiters.swap(ch.waiters);
    for (ThreadRecord* w : waiters) {
        w->channel = nullptr;
        makeRunnable(w);
    }
}

void Kernel::notifyOne(Guard& g, WaitChannel& ch) {
    (void)g;
    if (!simulated()) {
        realCv_.notify_all();
        return;
    }
    normalize(ch);
    if (ch.waiters.empty()) return;
    ThreadRecord* w = ch.waiters.front();
    ch.waiters.erase(ch.waiters.begin());
    w->channel = nullptr;
    makeRunnable(w);
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

void Kernel::runDueEvents(Guard& g) {
    ThreadRecord* me = main_;
    if (me == nullptr || me->inEvent) return;
    while (!events_.empty() && events_.begin()->first.first <= now()) {
        auto node = events_.extract(events_.begin());
        me->inEvent = true;
        {
            Kernel::Relock relock{g};
            g.unlock();
            try {
                node.mapped().fn();
            } catch (...) {
                g.lock();
                me->inEvent = false;
                throw;
            }
            node.mapped().fn = nullptr;
            g.lock();
        }
        me->inEvent = false;
    }
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
        if (t.wakeAt != kNever) s += " until " + seconds(t.wakeAt - kSimulatedBootUptime);
        break;
    }
    return s;
}

std::string Kernel::deadlockReport() {
    std::string s = "deadlock at virtual time " + seconds(virtualNow_.load() - kSimulatedBootUptime) +
                    ": every thread waits and nothing is scheduled";
    for (auto& t : threads_) {
        if (t->state == ThreadRecord::State::exited || t->reason.idle) continue;
        s += "\n  " + describe(*t);
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

std::string Kernel::lockCycle(ThreadRecord* me, LockState& lock) {
    std::vector<ThreadRecord*> chain{me};
    LockState* l = &lock;
    for (int i = 0; i < 256 && l != nullptr; ++i) {
        ThreadRecord* owner = l->owner;
        if (owner == nullptr) return {};
        if (owner == me) {
            std::string s = "deadlock at virtual time " + seconds(virtualNow_.load() - kSimulatedBootUptime) +
                            ": threads wait for locks held by each other";
            s += "\n  " + me->name + ": waiting for the lock '" + lock.name + "' held by " + lock.owner->name;
            for (std::size_t k = 1; k < chain.size(); ++k)
                s += "\n  " + describe(*chain[k]);
            return s;
        }
        chain.push_back(owner);
        if (owner->state != ThreadRecord::State::blocked) return {};
        l = owner->waitingForLock;
    }
    return {};
}

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
