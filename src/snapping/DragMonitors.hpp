#pragma once

#include "platform/input/NSEvent.hpp"

#include <functional>
#include <memory>

namespace tilmora {

/// The pair of global mouse monitors that feed the drag pipeline: left-mouse-dragged events and
/// left-mouse-up events of other applications. Either both are installed or neither; removing them
/// is harmless when they are not. Owned by the snap grid. Main thread.
class DragMonitors {
public:
    DragMonitors() = default;
    /// Removes the monitors still installed.
    ~DragMonitors();
    DragMonitors(const DragMonitors&) = delete;
    DragMonitors& operator=(const DragMonitors&) = delete;

    /// Installs both monitors unless one of them is installed: `dragged` gets each
    /// left-mouse-dragged event, `released` runs on each left-mouse-up.
    void install(std::function<void(const platform::NSEvent&)> dragged, std::function<void()> released);
    /// Removes both monitors.
    void remove();

    /// Whether the dragged monitor is installed.
    bool installed() const { return dragMonitor_ != nullptr; }
    /// The tokens of the installed monitors (empty when not installed).
    const std::shared_ptr<platform::EventMonitor>& dragMonitor() const { return dragMonitor_; }
    const std::shared_ptr<platform::EventMonitor>& upMonitor() const { return upMonitor_; }

private:
    std::shared_ptr<platform::EventMonitor> dragMonitor_;
    std::shared_ptr<platform::EventMonitor> upMonitor_;
};

} // namespace tilmora
