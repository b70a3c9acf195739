#include "platform/internal/DesktopNotifications.hpp"

#include "platform/desktop/NSWorkspace.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/MainThread.hpp"
#include "platform/foundation/NotificationCenter.hpp"

namespace platform::desktop_detail {

namespace {

void deliver(const PendingNotification& n) {
    if (!n.workspace) {
        NotificationCenter::defaultCenter().post(n.name);
        return;
    }
    PropertyDictionary info;
    if (n.pid != 0) info[NSWorkspaceApplicationKey] = PropertyValue(std::int64_t(n.pid));
    NSWorkspace& ws = NSWorkspace::shared();
    ws.notificationCenter().post(n.name, &ws, std::move(info));
}

} // namespace

void postDesktopNotification(const PendingNotification& n) {
    // Observers (the program's UI among them) expect the desktop's notifications on the main
    // thread, as the window server delivers them: a change made on a worker (a restore activating
    // an application) is announced when the main queue next runs.
    if (isMainThread()) {
        deliver(n);
        return;
    }
    DispatchQueue::main().async([n] { deliver(n); });
}

} // namespace platform::desktop_detail
