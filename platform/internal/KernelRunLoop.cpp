// The kernel's main run loop: timers, run-loop observers, the main queue's service and the
// simulator's scheduled events. The rest of the kernel (threads, locks, work queues) is in
// Kernel.cpp.
#include "platform/internal/Kernel.hpp"

#include <algorithm>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "platform/dispatch/RunLoopObserver.hpp"
#include "platform/dispatch/Timer.hpp"
#include "platform/foundation/Error.hpp"

namespace platform::detail {

namespace {

constexpr unsigned modeBit(RunLoopMode mode) {
    return 1U << static_cast<unsigned>(mode);
}

bool timerMatches(unsigned modes, RunLoopMode running) {
    return (modes & modeBit(running)) != 0 ||
           ((modes & modeBit(RunLoopMode::common)) != 0 && running != RunLoopMode::common);
}

} // namespace


std::size_t Kernel::scheduledTimerCount() {
    Guard g = lock();
    std::size_t count = 0;
    for (const auto& e : timers_)
        if (e.timer->valid_) ++count;
    return count;
}

void Kernel::invalidateMainRunLoopTimers() {
    std::vector<std::shared_ptr<Timer>> live;
    {
        Guard g = lock();
        for (const auto& e : timers_)
            if (e.timer->valid_) live.push_back(e.timer);
    }
    for (auto& timer : live)
        timer->invalidate();
}

void Kernel::addTimer(const std::shared_ptr<Timer>& timer, RunLoopMode mode) {
    Guard g = lock();
    if (!timer->valid_) return;
    timer->modes_ |= modeBit(mode);
    if (!timer->onRunLoop_) {
        timer->onRunLoop_ = true;
        timers_.push_back(TimerEntry{timer, ++seq_});
    }
    wakeMainLoop(g);
}

void Kernel::timerChanged() {
    Guard g = lock();
    wakeMainLoop(g);
}

void Kernel::wakeMainLoop(Guard& g) {
    ++mainWake_;
    notifyAll(g, mainChannel_);
    if (mainPolling_) {
        const char byte = 1;
        // A full pipe already holds a wake-up.
        [[maybe_unused]] const auto written = ::write(wakeWrite_, &byte, 1);
    }
}

bool Kernel::waitForInput(Guard& g, InputWait& input, Nanos wakeAt) {
    if (wakeRead_ < 0) {
        int ends[2];
        if (::pipe2(ends, O_NONBLOCK | O_CLOEXEC) != 0) throw Error("cannot make the main run loop's wake pipe");
        wakeRead_ = ends[0];
        wakeWrite_ = ends[1];
    }
    std::vector<pollfd> fds;
    for (int fd : *input.descriptors)
        fds.push_back(pollfd{fd, POLLIN, 0});
    fds.push_back(pollfd{wakeRead_, POLLIN, 0});
    timespec timeout{};
    const timespec* limit = nullptr;
    if (wakeAt != kNever) {
        const Nanos left = std::max<Nanos>(0, wakeAt - now());
        timeout.tv_sec = static_cast<time_t>(left / 1000000000);
        timeout.tv_nsec = static_cast<long>(left % 1000000000);
        limit = &timeout;
    }
    mainPolling_ = true;
    {
        Kernel::Relock relock{g};
        g.unlock();
        // An interrupted wait (a signal) is a wake-up like any other.
        ::ppoll(fds.data(), fds.size(), limit, nullptr);
        g.lock();
    }
    mainPolling_ = false;
    char drain[64];
    while (::read(wakeRead_, drain, sizeof drain) > 0) {}
    for (std::size_t i = 0; i + 1 < fds.size(); ++i) {
        if ((fds[i].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0) {
            input.ready = i;
            return true;
        }
    }
    return false;
}

std::optional<std::size_t> Kernel::runMainLoopUntilReadable(RunLoopMode mode, double seconds,
                                                            const std::vector<int>& descriptors) {
    if (!simulated()) {
        InputWait input{&descriptors, std::nullopt};
        runMainLoop(mode, after(now(), seconds), nullptr, false, &input);
        return input.ready;
    }
    runMainLoop(mode, kNever, nullptr, true, nullptr);
    return pollReadable(descriptors, seconds);
}

std::optional<std::size_t> Kernel::pollReadable(const std::vector<int>& descriptors, double seconds) {
    std::vector<pollfd> fds;
    for (int fd : descriptors)
        fds.push_back(pollfd{fd, POLLIN, 0});
    const Nanos left = std::max<Nanos>(0, toNanos(seconds));
    const timespec timeout{static_cast<time_t>(left / 1000000000), static_cast<long>(left % 1000000000)};
    if (::ppoll(fds.data(), fds.size(), left == kNever ? nullptr : &timeout, nullptr) <= 0) return std::nullopt;
    for (std::size_t i = 0; i < fds.size(); ++i)
        if ((fds[i].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0) return i;
    return std::nullopt;
}

void Kernel::addObserver(const std::shared_ptr<RunLoopObserver>& observer, RunLoopMode mode) {
    Guard g = lock();
    for (auto& e : observers_)
        if (e.observer == observer && e.mode == mode) return;
    observers_.push_back(ObserverEntry{observer, mode, ++seq_});
}

void Kernel::removeObserver(const std::shared_ptr<RunLoopObserver>& observer, RunLoopMode mode) {
    Guard g = lock();
    for (auto it = observers_.begin(); it != observers_.end(); ++it) {
        if (it->observer == observer && it->mode == mode) {
            graveyard_.push_back(std::move(it->observer));
            observers_.erase(it);
            return;
        }
    }
}

bool Kernel::hasObserver(const std::shared_ptr<RunLoopObserver>& observer, RunLoopMode mode) {
    Guard g = lock();
    return std::any_of(observers_.begin(), observers_.end(),
                       [&](const ObserverEntry& e) { return e.observer == observer && e.mode == mode; });
}

std::optional<RunLoopMode> Kernel::currentMainMode() {
    Guard g = lock();
    if (modeStack_.empty()) return std::nullopt;
    return modeStack_.back();
}

bool Kernel::insideMainQueueBlock() {
    Guard g = lock();
    return mainQueueDepth_ > 0;
}

Nanos Kernel::nextTimerFire(RunLoopMode mode) {
    Nanos next = kNever;
    for (auto& e : timers_)
        if (e.timer->valid_ && timerMatches(e.timer->modes_, mode)) next = std::min(next, e.timer->nextFire_);
    return next;
}

bool Kernel::fireDueTimers(Guard& g, RunLoopMode mode) {
    if (timers_.empty()) return false;
    const Nanos now = this->now();
    std::vector<TimerEntry> due;
    for (auto& e : timers_)
        if (e.timer->valid_ && e.timer->nextFire_ <= now && timerMatches(e.timer->modes_, mode))
            due.push_back(e);
    std::sort(due.begin(), due.end(), [](const TimerEntry& a, const TimerEntry& b) {
        return std::tie(a.timer->nextFire_, a.seq) < std::tie(b.timer->nextFire_, b.seq);
    });
    for (auto& e : due) {
        Timer& t = *e.timer;
        if (!t.valid_ || t.nextFire_ > this->now()) continue;
        if (t.repeats_) {
            t.nextFire_ += t.interval_;
            const Nanos n = this->now();
            if (t.nextFire_ <= n) t.nextFire_ += ((n - t.nextFire_) / t.interval_ + 1) * t.interval_;
        } else {
            t.valid_ = false;
        }
        Timer::Block block = t.valid_ ? t.block_ : std::move(t.block_);
        Kernel::Relock relock{g};
        g.unlock();
        if (block) block(t);
        block = nullptr;
        g.lock();
    }
    // Drop invalidated timers; the last references die outside the lock.
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (!it->timer->valid_) {
            it->timer->onRunLoop_ = false;
            graveyard_.push_back(std::move(it->timer));
            it = timers_.erase(it);
        } else {
            ++it;
        }
    }
    return !due.empty();
}

bool Kernel::serviceMainQueue(Guard& g) {
    if (mainQueueDepth_ > 0 || mainJobs_.empty()) return false;
    std::size_t batch = mainJobs_.size();
    while (batch-- > 0 && !mainJobs_.empty()) {
        Job job = std::move(mainJobs_.front());
        mainJobs_.pop_front();
        ++mainQueueDepth_;
        struct Depth {
            Kernel& k;
            Guard& g;
            ~Depth() {
                if (!g.owns_lock()) g.lock();
                --k.mainQueueDepth_;
            }
        } depth{*this, g};
        g.unlock();
        job();
        job = nullptr;
        g.lock();
    }
    return true;
}

void Kernel::notifyObservers(Guard& g, RunLoopMode mode, unsigned activity) {
    if (observers_.empty()) return;
    std::vector<ObserverEntry> matching;
    for (auto& e : observers_)
        if (e.observer->valid_ && (e.observer->activities_ & activity) != 0 &&
            runLoopModeMatches(e.mode, mode))
            matching.push_back(e);
    std::stable_sort(matching.begin(), matching.end(), [](const ObserverEntry& a, const ObserverEntry& b) {
        return std::tie(a.observer->order_, a.seq) < std::tie(b.observer->order_, b.seq);
    });
    for (auto& e : matching) {
        RunLoopObserver& o = *e.observer;
        if (!o.valid_) continue;
        if (!o.repeats_) o.valid_ = false;
        RunLoopObserver::Callback cb = o.callback_;
        Kernel::Relock relock{g};
        g.unlock();
        if (cb) cb(o, activity);
        cb = nullptr;
        g.lock();
    }
    for (auto it = observers_.begin(); it != observers_.end();) {
        if (!it->observer->valid_) {
            graveyard_.push_back(std::move(it->observer));
            it = observers_.erase(it);
        } else {
            ++it;
        }
    }
}

void Kernel::bury(Guard& g) {
    if (graveyard_.empty()) return;
    std::vector<std::shared_ptr<void>> dead;
    dead.swap(graveyard_);
    Kernel::Relock relock{g};
    g.unlock();
    dead.clear();
    g.lock();
}

bool Kernel::runMainLoop(RunLoopMode mode, Nanos deadline, const std::function<bool()>* stop,
                         bool drainOnly) {
    return runMainLoop(mode, deadline, stop, drainOnly, nullptr);
}

bool Kernel::runMainLoop(RunLoopMode mode, Nanos deadline, const std::function<bool()>* stop, bool drainOnly,
                         InputWait* input) {
    Guard g = lock();
    ThreadRecord* me = self();
    if (me != main_) throw Error("the main run loop runs only on the main thread");
    if (mode == RunLoopMode::common) throw Error("a run loop cannot run in the common modes pseudo-mode");
    modeStack_.push_back(mode);
    struct Exit {
        Kernel& k;
        Guard& g;
        ThreadRecord* me;
        std::uint64_t gen;
        ~Exit() {
            if (!g.owns_lock()) g.lock();
            if (k.generation() != gen) return;
            me->wakeOnQuiescence = false;
            if (!k.modeStack_.empty()) k.modeStack_.pop_back();
        }
    } exitGuard{*this, g, me, generation()};
    static const WaitReason reason{"running the main run loop", nullptr, false};
    const bool sim = simulated();
    bool stopped = false;
    runDueEvents(g);
    notifyObservers(g, mode, RunLoopObserver::entry);
    while (true) {
        mainTurns_.fetch_add(1, std::memory_order_acq_rel);
        runDueEvents(g);
        notifyObservers(g, mode, RunLoopObserver::beforeTimers);
        bool did = fireDueTimers(g, mode);
        notifyObservers(g, mode, RunLoopObserver::beforeSources);
        if (serviceMainQueue(g)) did = true;
        bury(g);
        if (stop != nullptr) {
            Kernel::Relock relock{g};
            g.unlock();
            const bool done = (*stop)();
            g.lock();
            if (done) {
                stopped = true;
                break;
            }
        }
        if (now() >= deadline) break;
        if (did) continue;
        if (drainOnly) {
            if (sim)
                while (!timed_.empty() && std::get<0>(*timed_.begin()) <= now())
                    makeRunnable(std::get<2>(*timed_.begin()));
            if (yield(g)) continue;
            if (!mainJobs_.empty() && mainQueueDepth_ == 0) continue;
            if (!events_.empty() && events_.begin()->first.first <= now() && !main_->inEvent) continue;
            break;
        }
        Nanos wakeAt = std::min(deadline, nextTimerFire(mode));
        // The real mode wakes for the next simulator event itself (the simulated mode's clock
        // jumps to it when nothing else can run).
        if (!sim && !events_.empty() && !me->inEvent) wakeAt = std::min(wakeAt, events_.begin()->first.first);
        // The real mode has no quiescence to wait for: poll the stop condition every millisecond.
        if (!sim && stop != nullptr) wakeAt = std::min(wakeAt, after(now(), 0.001));
        notifyObservers(g, mode, RunLoopObserver::beforeWaiting);
        const bool idle = now() < wakeAt && (mainJobs_.empty() || mainQueueDepth_ > 0);
        if (input != nullptr && !sim) {
            // Even with work at hand the descriptors are looked at, without waiting.
            if (waitForInput(g, *input, idle ? wakeAt : now())) {
                notifyObservers(g, mode, RunLoopObserver::afterWaiting);
                stopped = true;
                break;
            }
        } else if (idle) {
            me->wakeOnQuiescence = stop != nullptr;
            block(g, &mainChannel_, wakeAt, reason);
            me->wakeOnQuiescence = false;
        }
        notifyObservers(g, mode, RunLoopObserver::afterWaiting);
    }
    notifyObservers(g, mode, RunLoopObserver::exit);
    return stopped;
}

// ---------------------------------------------------------------------------------------------
// simulator control

void Kernel::scheduleEvent(Nanos at, std::function<void()> event, std::string label) {
    Guard g = lock();
    // Both modes keep the events in one list ordered by due time and then by the order they were
    // scheduled in, and the main run loop runs them itself, so that events due at one instant run
    // in that order. The simulated mode never runs an event in the past (its clock moves only
    // forward); the real mode keeps the due time given, so that a late caller cannot reorder
    // events it schedules from one start time.
    if (simulated()) at = std::max(at, now());
    events_.emplace(std::make_pair(at, ++seq_), Event{std::move(event), std::move(label)});
    if (!simulated()) {
        ++mainWake_;
        notifyAll(g, mainChannel_);
    }
}

} // namespace platform::detail
