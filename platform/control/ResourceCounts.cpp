#include "platform/control/ResourceCounts.hpp"

#include "platform/foundation/NotificationCenter.hpp"
#include "platform/internal/InputState.hpp"
#include "platform/internal/Kernel.hpp"
#include "platform/internal/SQLiteStatementCount.hpp"
#include "platform/ui/Application.hpp"

namespace platform {

std::size_t ResourceCounts::scheduledTimers() {
    return detail::Kernel::get().scheduledTimerCount();
}

std::size_t ResourceCounts::eventMonitors() {
    return input_detail::state().monitors.size();
}

std::size_t ResourceCounts::hotKeys() {
    return input_detail::state().hotKeys.size();
}

std::size_t ResourceCounts::notificationObservers() {
    return NotificationCenter::defaultCenter().observerCount();
}

std::int64_t ResourceCounts::openStatements() {
    return sqlite_detail::openStatementCount().load();
}

std::size_t ResourceCounts::programWindows() {
    return ui::Application::shared().windows().size();
}

} // namespace platform
