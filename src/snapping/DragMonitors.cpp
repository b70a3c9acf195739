#include "snapping/DragMonitors.hpp"

#include <utility>

namespace tilmora {

DragMonitors::~DragMonitors() {
    remove();
}

void DragMonitors::install(std::function<void(const platform::NSEvent&)> dragged, std::function<void()> released) {
    if (dragMonitor_ || upMonitor_) return;
    dragMonitor_ = platform::NSEvent::addGlobalMonitorForEvents(platform::EventTypeMask::leftMouseDragged,
                                                                std::move(dragged));
    upMonitor_ = platform::NSEvent::addGlobalMonitorForEvents(
        platform::EventTypeMask::leftMouseUp,
        [released = std::move(released)](const platform::NSEvent&) { released(); });
}

void DragMonitors::remove() {
    if (dragMonitor_) platform::NSEvent::removeMonitor(dragMonitor_);
    if (upMonitor_) platform::NSEvent::removeMonitor(upMonitor_);
    dragMonitor_.reset();
    upMonitor_.reset();
}

} // namespace tilmora
