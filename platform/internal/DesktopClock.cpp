#include "platform/internal/DesktopClock.hpp"

#include "platform/control/SimScheduler.hpp"

namespace platform::desktop_detail {

double clockNow() {
    return SimScheduler::shared().now();
}

void clockSchedule(double at, std::function<void()> event, std::string label) {
    SimScheduler::shared().schedule(at, std::move(event), std::move(label));
}

} // namespace platform::desktop_detail
