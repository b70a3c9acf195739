#include "platform/internal/DesktopNotifications.hpp"

#include "platform/desktop/NSWorkspace.hpp"
#include "platform/foundation/NotificationCenter.hpp"

namespace platform::desktop_detail {

void postDesktopNotification(const PendingNotification& n) {
    if (!n.workspace) {
        NotificationCenter::defaultCenter().post(n.name);
        return;
    }
    PropertyDictionary info;
    if (n.pid != 0) info[NSWorkspaceApplicationKey] = PropertyValue(std::int64_t(n.pid));
    NSWorkspace& ws = NSWorkspace::shared();
    ws.notificationCenter().post(n.name, &ws, std::move(info));
}

} // namespace platform::desktop_detail
