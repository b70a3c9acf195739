// The simulated mode of the scheduler kernel: one registered thread runs at a time (it holds the
// baton), blocked threads wait on their channels and timed wake-ups, and when nothing can run the
// virtual clock jumps to the earliest wake-up. What both modes share is in Kernel.cpp.

#include "platform/internal/Kernel.hpp"

#include <algorithm>
#include <cstdio>

#include "platform/foundation/Error.hpp"

namespace platform::detail {

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

void Kernel::park(Guard& g, ThreadRecord* me, WaitChannel* ch, Nanos deadline) {
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

void Kernel::wakeWaiters(WaitChannel& ch, bool all) {
    normalize(ch);
    if (ch.waiters.empty()) return; // the common case: a lock released that nobody waits for
    const auto end = all ? ch.waiters.end() : ch.waiters.begin() + std::min<std::ptrdiff_t>(1, std::ssize(ch.waiters));
    const std::vector<ThreadRecord*> woken(ch.waiters.begin(), end);
    ch.waiters.erase(ch.waiters.begin(), end);
    for (ThreadRecord* w : woken) {
        w->channel = nullptr;
        makeRunnable(w);
    }
}

bool Kernel::yield(Guard& g) {
    if (!simulated() || runnable_.empty()) return false;
    ThreadRecord* me = self();
    if (!goesOn(me)) return false;
    me->state = ThreadRecord::State::runnable;
    runnable_.push_back(me);
    handOff(g, me);
    if (me->cancelled && std::uncaught_exceptions() == 0) throw ThreadCancelled{};
    // A worker that failed while the main thread let it run reports here, as from a blocking call.
    if (me == main_ && !failure_.empty()) throwFailure(g, std::move(failure_));
    return true;
}

void Kernel::runCancelledThreadsOut(Guard& g, bool keepChannels) {
    for (auto& t : threads_) {
        if (t.get() == main_ || t->state == ThreadRecord::State::exited || !t->thread.joinable()) continue;
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

std::string Kernel::deadlockHeading(const char* what) {
    return "deadlock at virtual time " + secondsText(virtualNow_.load() - kSimulatedBootUptime) + ": " + what;
}

std::string Kernel::deadlockReport() {
    std::string s = deadlockHeading("every thread waits and nothing is scheduled");
    for (auto& t : threads_) {
        if (t->state == ThreadRecord::State::exited || t->reason.idle) continue;
        s += "\n  " + describe(*t);
    }
    return s;
}

std::string Kernel::lockCycle(ThreadRecord* me, LockState& lock) {
    std::vector<ThreadRecord*> chain{me};
    LockState* l = &lock;
    for (int i = 0; i < 256 && l != nullptr; ++i) {
        ThreadRecord* owner = l->owner;
        if (owner == nullptr) return {};
        if (owner == me) {
            std::string s = deadlockHeading("threads wait for locks held by each other");
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

} // namespace platform::detail
