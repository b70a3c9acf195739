#pragma once

#include <functional>
#include <memory>

namespace platform {

namespace detail {
class Kernel;
}

/// A run-loop observer: a callback at chosen points (activities) of each turn of the run loop it
/// is added to. Observers of one activity run in ascending `order`, then in the order they were
/// added. A non-repeating observer is invalidated after its first callback. Main thread.
class RunLoopObserver : public std::enable_shared_from_this<RunLoopObserver> {
public:
    /// Activities (bit values as on the original platform).
    enum Activity : unsigned {
        entry = 1U << 0,
        beforeTimers = 1U << 1,
        beforeSources = 1U << 2,
        beforeWaiting = 1U << 5,
        afterWaiting = 1U << 6,
        exit = 1U << 7,
        allActivities = 0x0FFFFFFFU,
    };
    using Callback = std::function<void(RunLoopObserver&, unsigned activity)>;

    static std::shared_ptr<RunLoopObserver> make(unsigned activities, bool repeats, int order,
                                                 Callback callback);

    unsigned activities() const { return activities_; }
    bool repeats() const { return repeats_; }
    int order() const { return order_; }
    bool isValid() const;
    /// Stops further callbacks; the run loops drop the observer.
    void invalidate();

private:
    friend class detail::Kernel;
    RunLoopObserver() = default;

    unsigned activities_ = 0;
    bool repeats_ = true;
    int order_ = 0;
    bool valid_ = true;
    Callback callback_;
};

} // namespace platform
