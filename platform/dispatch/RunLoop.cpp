#include "platform/dispatch/RunLoop.hpp"

#include "platform/internal/Kernel.hpp"
#include "platform/dispatch/MainThread.hpp"
#include "platform/dispatch/MediaTime.hpp"
#include "platform/dispatch/Thread.hpp"

namespace platform {

using detail::Kernel;

RunLoop& RunLoop::main() {
    static RunLoop loop(true);
    return loop;
}

RunLoop& RunLoop::current() {
    if (Thread::isMainThread()) return main();
    thread_local RunLoop loop(false);
    return loop;
}

void RunLoop::add(const std::shared_ptr<Timer>& timer, RunLoopMode mode) {
    if (isMain_ && timer) Kernel::get().addTimer(timer, mode);
}

void RunLoop::addObserver(const std::shared_ptr<RunLoopObserver>& observer, RunLoopMode mode) {
    if (isMain_ && observer) Kernel::get().addObserver(observer, mode);
}

void RunLoop::removeObserver(const std::shared_ptr<RunLoopObserver>& observer, RunLoopMode mode) {
    if (isMain_ && observer) Kernel::get().removeObserver(observer, mode);
}

std::uint64_t RunLoop::mainTurns() {
    return Kernel::mainTurns();
}

bool RunLoop::containsObserver(const std::shared_ptr<RunLoopObserver>& observer, RunLoopMode mode) const {
    return isMain_ && observer && Kernel::get().hasObserver(observer, mode);
}

void RunLoop::runUntilMediaTime(double untilMediaTime) {
    runUntilMediaTime(RunLoopMode::defaultMode, untilMediaTime);
}

void RunLoop::runUntilMediaTime(RunLoopMode mode, double untilMediaTime) {
    auto& k = Kernel::get();
    const detail::Nanos deadline = detail::toNanos(untilMediaTime);
    if (!isMain_) {
        const double left = untilMediaTime - mediaTime();
        if (left > 0) Thread::sleep(left);
        return;
    }
    requireMainThread("RunLoop::runUntilMediaTime");
    k.runMainLoop(mode, deadline, nullptr, false);
}

void RunLoop::run(Date until) {
    run(RunLoopMode::defaultMode, until);
}

void RunLoop::run(RunLoopMode mode, Date until) {
    if (isMain_) requireMainThread("RunLoop::run");
    runFor(mode, until.timeIntervalSince(Date::now()));
}

void RunLoop::runFor(double seconds) {
    runFor(RunLoopMode::defaultMode, seconds);
}

void RunLoop::runFor(RunLoopMode mode, double seconds) {
    auto& k = Kernel::get();
    k.ensureStarted();
    if (!isMain_) {
        if (seconds > 0) Thread::sleep(seconds);
        return;
    }
    requireMainThread("RunLoop::runFor");
    k.runMainLoop(mode, detail::after(k.now(), seconds), nullptr, false);
}

std::optional<std::size_t> RunLoop::runUntilReadable(const std::vector<int>& descriptors, double seconds) {
    auto& k = Kernel::get();
    k.ensureStarted();
    if (isMain_) {
        requireMainThread("RunLoop::runUntilReadable");
        return k.runMainLoopUntilReadable(RunLoopMode::defaultMode, seconds, descriptors);
    }
    return Kernel::pollReadable(descriptors, seconds);
}

std::optional<RunLoopMode> RunLoop::currentMode() const {
    if (!isMain_) return std::nullopt;
    return Kernel::get().currentMainMode();
}

} // namespace platform
