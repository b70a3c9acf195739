#include "shortcuts/LocalEventMonitor.hpp"

namespace tilmora::GlobalShortcuts {

LocalEventMonitor::LocalEventMonitor(platform::EventTypeMask events, Callback callback)
    : events_(events)
    , callback_(std::move(callback)) {}

LocalEventMonitor::~LocalEventMonitor() {
    if (auto monitor = monitor_.lock()) platform::NSEvent::removeMonitor(monitor);
}

LocalEventMonitor& LocalEventMonitor::start() {
    monitor_ = platform::NSEvent::addLocalMonitorForEvents(events_, callback_);
    return *this;
}

} // namespace tilmora::GlobalShortcuts
