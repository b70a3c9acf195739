#include "platform/dispatch/Timer.hpp"

#include <algorithm>

#include "platform/internal/Kernel.hpp"
#include "platform/dispatch/MainThread.hpp"
#include "platform/dispatch/RunLoop.hpp"

namespace platform {

using detail::Kernel;

std::shared_ptr<Timer> Timer::make(double interval, bool repeats, Block block) {
    auto& k = Kernel::get();
    k.ensureStarted();
    std::shared_ptr<Timer> t(new Timer());
    const double clamped = interval > 0 ? interval : 0.0001;
    t->interval_ = std::max<detail::Nanos>(1, detail::toNanos(clamped));
    t->repeats_ = repeats;
    t->block_ = std::move(block);
    t->nextFire_ = detail::after(k.now(), clamped);
    return t;
}

std::shared_ptr<Timer> Timer::scheduledTimer(double interval, bool repeats, Block block) {
    // On a worker the timer would join a run loop that never fires it.
    requireMainThread("Timer::scheduledTimer");
    auto t = make(interval, repeats, std::move(block));
    RunLoop::current().add(t, RunLoopMode::defaultMode);
    return t;
}

void Timer::invalidate() {
    Block old;
    {
        auto g = Kernel::get().lock();
        valid_ = false;
        old = std::move(block_);
        block_ = nullptr;
    }
}

bool Timer::isValid() const {
    auto g = Kernel::get().lock();
    return valid_;
}

double Timer::timeInterval() const {
    return repeats_ ? static_cast<double>(interval_) / 1e9 : 0.0;
}

bool Timer::repeats() const {
    return repeats_;
}

double Timer::tolerance() const {
    auto g = Kernel::get().lock();
    return tolerance_;
}

void Timer::setTolerance(double seconds) {
    auto g = Kernel::get().lock();
    tolerance_ = seconds;
}

double Timer::fireMediaTime() const {
    auto g = Kernel::get().lock();
    return static_cast<double>(nextFire_) / 1e9;
}

void Timer::setFireMediaTime(double seconds) {
    {
        auto g = Kernel::get().lock();
        nextFire_ = detail::toNanos(seconds);
    }
    Kernel::get().timerChanged();
}

Date Timer::fireDate() const {
    const Date wallNow = Date::now();
    const double mediaNow = static_cast<double>(Kernel::get().now()) / 1e9;
    return Date{wallNow.timeIntervalSince1970 + (fireMediaTime() - mediaNow)};
}

void Timer::setFireDate(Date date) {
    const double mediaNow = static_cast<double>(Kernel::get().now()) / 1e9;
    setFireMediaTime(mediaNow + date.timeIntervalSince(Date::now()));
}

void Timer::fire() {
    Block block;
    {
        auto g = Kernel::get().lock();
        if (!valid_) return;
        block = block_;
    }
    if (block) block(*this);
    if (!repeats_) invalidate();
}

} // namespace platform
