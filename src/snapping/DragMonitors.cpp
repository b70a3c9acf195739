#include "snapping/DragMonitors.hpp"

#include "snapping/DragSession.hpp"
#include "snapping/SnapSwitches.hpp"

namespace tilmora {

DragMonitors::DragMonitors(const SnapSwitches& switches, DragSession& session)
    : switches_(switches)
    , session_(session)
    , lifetime_(std::make_shared<DragMonitors*>(this)) {}

DragMonitors::~DragMonitors() {
    remove();
}

void DragMonitors::startIfNeeded() {
    if (!switches_.snappingEnabled || dragMonitor_ || upMonitor_) return;
    std::weak_ptr<DragMonitors*> handle = lifetime_;
    dragMonitor_ = platform::NSEvent::addGlobalMonitorForEvents(
        platform::EventTypeMask::leftMouseDragged, [handle](const platform::NSEvent& event) {
            if (auto alive = handle.lock()) (*alive)->session_.handleDragged(event);
        });
    upMonitor_ = platform::NSEvent::addGlobalMonitorForEvents(platform::EventTypeMask::leftMouseUp,
                                                              [handle](const platform::NSEvent&) {
                                                                  if (auto alive = handle.lock())
                                                                      (*alive)->session_.handleMouseUp();
                                                              });
}

void DragMonitors::stop() {
    remove();
    session_.abandon();
}

void DragMonitors::remove() {
    if (dragMonitor_) platform::NSEvent::removeMonitor(dragMonitor_);
    if (upMonitor_) platform::NSEvent::removeMonitor(upMonitor_);
    dragMonitor_.reset();
    upMonitor_.reset();
}

} // namespace tilmora
