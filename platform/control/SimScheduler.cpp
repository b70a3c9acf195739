#include "platform/control/SimScheduler.hpp"

#include "platform/internal/Kernel.hpp"
#include "platform/foundation/Error.hpp"

namespace platform {

using detail::Kernel;

SimScheduler& SimScheduler::shared() {
    static SimScheduler s;
    return s;
}

double SimScheduler::now() const {
    auto& k = Kernel::get();
    k.ensureStarted();
    return static_cast<double>(k.now() - Kernel::get().origin()) / 1e9;
}

void SimScheduler::schedule(double atVirtualTime, std::function<void()> event, std::string label) {
    Kernel::get().scheduleEvent(detail::after(Kernel::get().origin(), atVirtualTime), std::move(event),
                                std::move(label));
}

void SimScheduler::runFor(double seconds) {
    auto& k = Kernel::get();
    k.ensureStarted();
    k.runMainLoop(RunLoopMode::defaultMode, detail::after(k.now(), seconds), nullptr, false);
    // Whatever falls due exactly at the end runs too, whichever thread began to wait first.
    k.runMainLoop(RunLoopMode::defaultMode, detail::kNever, nullptr, true);
}

bool SimScheduler::runUntil(std::function<bool()> predicate, double timeoutSeconds) {
    auto& k = Kernel::get();
    k.ensureStarted();
    if (!k.isMainThread()) throw Error("SimScheduler::runUntil runs only on the main thread");
    if (predicate()) return true;
    if (k.runMainLoop(RunLoopMode::defaultMode, detail::after(k.now(), timeoutSeconds), &predicate, false))
        return true;
    // At the timeout, whatever falls due at that instant still gets its turn before giving up.
    return k.runMainLoop(RunLoopMode::defaultMode, detail::kNever, &predicate, true);
}

void SimScheduler::drainMainQueue() {
    auto& k = Kernel::get();
    k.ensureStarted();
    k.runMainLoop(RunLoopMode::defaultMode, detail::kNever, nullptr, true);
}

void SimScheduler::reset() {
    Kernel::get().start(Runtime::Mode::simulated);
}

std::string SimScheduler::describeThreads() const {
    return Kernel::get().describeThreads();
}

std::size_t SimScheduler::threadCount() const {
    return Kernel::get().threadCount();
}

void SimScheduler::setWallClockOrigin(double secondsSince1970) {
    Kernel::get().setWallClockOrigin(secondsSince1970);
}

} // namespace platform
