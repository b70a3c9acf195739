#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/dispatch/RunLoopMode.hpp"
#include "platform/foundation/Date.hpp"

namespace platform {

namespace detail {
class Kernel;
}

/// A run-loop timer, one-shot or repeating. It fires only while the run loop it was added to runs
/// in one of the modes it was added in; the tolerance is recorded and ignored. A repeating timer
/// keeps its schedule (fire date + k × interval) and skips the fire dates it missed. The run loop
/// holds the timer until it is invalidated; a one-shot timer invalidates itself after firing.
///
/// Create and add timers on the main thread (`scheduledTimer` fails with a `platform::Error`
/// naming it when called elsewhere in a Debug build); `invalidate` and the accessors are safe from
/// any thread. The block runs on the main thread.
class Timer : public std::enable_shared_from_this<Timer> {
public:
    using Block = std::function<void(Timer&)>;

    /// A timer that first fires `interval` seconds from now. Not yet on any run loop. Intervals
    /// of zero or less become 0.1 ms.
    static std::shared_ptr<Timer> make(double interval, bool repeats, Block block);
    /// Like `make`, and adds the timer to the current run loop in the default mode.
    static std::shared_ptr<Timer> scheduledTimer(double interval, bool repeats, Block block);

    /// Stops the timer for good and releases it from its run loop.
    void invalidate();
    bool isValid() const;
    /// Seconds between fires of a repeating timer.
    double timeInterval() const;
    bool repeats() const;
    /// Seconds of allowed lateness; recorded, not used.
    double tolerance() const;
    void setTolerance(double seconds);
    /// The next fire time on the wall clock.
    Date fireDate() const;
    /// Moves the next fire time to the wall-clock instant `date`.
    void setFireDate(Date date);
    /// The next fire time on the media clock (seconds, see `mediaTime()`).
    double fireMediaTime() const;
    /// Moves the next fire time (media-clock seconds); a repeating timer continues from there.
    void setFireMediaTime(double seconds);
    /// Fires the timer now on the calling thread without changing its schedule; a one-shot timer
    /// is invalidated afterwards. Does nothing on an invalid timer.
    void fire();

private:
    friend class detail::Kernel;
    Timer() = default;

    std::int64_t interval_ = 0;
    std::int64_t nextFire_ = 0;
    bool repeats_ = false;
    bool valid_ = true;
    bool onRunLoop_ = false;
    unsigned modes_ = 0; // bit per RunLoopMode
    double tolerance_ = 0;
    Block block_;
};

} // namespace platform
