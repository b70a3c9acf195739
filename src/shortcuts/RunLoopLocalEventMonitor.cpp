#include "shortcuts/RunLoopLocalEventMonitor.hpp"

#include "platform/dispatch/RunLoop.hpp"
#include "platform/input/EventQueue.hpp"

#include <vector>

namespace tilmora::GlobalShortcuts {

namespace {

std::shared_ptr<platform::RunLoopObserver> makeDrain(platform::EventTypeMask mask,
                                                     RunLoopLocalEventMonitor::Callback callback) {
    return platform::RunLoopObserver::make(
        platform::RunLoopObserver::beforeSources, true, 0,
        [mask, callback = std::move(callback)](platform::RunLoopObserver&, unsigned) {
            auto& queue = platform::EventQueue::shared();
            std::vector<platform::NSEvent> pending;
            while (auto event = queue.nextEvent(platform::EventTypeMask::any, true))
                pending.push_back(std::move(*event));
            for (const auto& event : pending) {
                if (!mask.contains(event.type)) {
                    queue.postEvent(event);
                } else if (auto kept = callback(event)) {
                    queue.postEvent(*kept);
                }
            }
        });
}

} // namespace

RunLoopLocalEventMonitor::RunLoopLocalEventMonitor(platform::EventTypeMask events, platform::RunLoopMode mode,
                                                   Callback cb)
    : runLoopMode(mode)
    , callback(std::move(cb))
    , observer(makeDrain(events, callback)) {}

RunLoopLocalEventMonitor::~RunLoopLocalEventMonitor() {
    platform::RunLoop::current().removeObserver(observer, runLoopMode);
}

} // namespace tilmora::GlobalShortcuts
