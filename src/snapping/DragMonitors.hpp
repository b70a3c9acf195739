#pragma once

#include "platform/input/NSEvent.hpp"

#include <memory>

namespace tilmora {

class DragSession;
struct SnapSwitches;

/// The pair of global mouse monitors that feed the drag pipeline: left-mouse-dragged events of
/// other applications go to the session's `handleDragged`, left-mouse-up events to its
/// `handleMouseUp`. Either both are installed or neither; removing them is harmless when they are
/// not. Owned by the snap grid. Main thread.
class DragMonitors {
public:
    /// No monitor; `switches` say whether snapping is on, `session` takes the events.
    DragMonitors(const SnapSwitches& switches, DragSession& session);
    /// Removes the monitors still installed.
    ~DragMonitors();
    DragMonitors(const DragMonitors&) = delete;
    DragMonitors& operator=(const DragMonitors&) = delete;

    /// Installs both monitors when snapping is on and neither is installed. The handlers do
    /// nothing once this object is gone.
    void startIfNeeded();
    /// Removes both monitors and ends a running drag without a drop (`DragSession::abandon`).
    void stop();
    /// Removes both monitors.
    void remove();

    /// Whether the dragged monitor is installed.
    bool installed() const { return dragMonitor_ != nullptr; }
    /// The tokens of the installed monitors (empty when not installed).
    const std::shared_ptr<platform::EventMonitor>& dragMonitor() const { return dragMonitor_; }
    const std::shared_ptr<platform::EventMonitor>& upMonitor() const { return upMonitor_; }

private:
    const SnapSwitches& switches_;
    DragSession& session_;
    std::shared_ptr<platform::EventMonitor> dragMonitor_;
    std::shared_ptr<platform::EventMonitor> upMonitor_;
    std::shared_ptr<DragMonitors*> lifetime_;
};

} // namespace tilmora
