#include "platform/dispatch/RunLoopObserver.hpp"

#include "platform/internal/Kernel.hpp"

namespace platform {

std::shared_ptr<RunLoopObserver> RunLoopObserver::make(unsigned activities, bool repeats, int order,
                                                       Callback callback) {
    std::shared_ptr<RunLoopObserver> o(new RunLoopObserver());
    o->activities_ = activities;
    o->repeats_ = repeats;
    o->order_ = order;
    o->callback_ = std::move(callback);
    return o;
}

bool RunLoopObserver::isValid() const {
    auto g = detail::Kernel::get().lock();
    return valid_;
}

void RunLoopObserver::invalidate() {
    Callback old;
    auto g = detail::Kernel::get().lock();
    valid_ = false;
    old = std::move(callback_);
    callback_ = nullptr;
    g.unlock();
}

} // namespace platform
