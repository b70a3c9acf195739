#include "platform/desktop/AppleEvents.hpp"

#include "platform/internal/DesktopModel.hpp"
#include "platform/internal/DesktopState.hpp"

namespace platform {

namespace desktop_detail {
int automationPermission(DesktopModel& m, bool ask);
}

OSStatus AEDeterminePermissionToAutomateTarget(const std::string& bundleIdentifier, bool askUserIfNeeded) {
    auto holder = desktop_detail::currentModel();
    desktop_detail::DesktopModel::Txn t(*holder);
    if (bundleIdentifier != "com.apple.systemevents") return procNotFound;
    return desktop_detail::automationPermission(*holder, askUserIfNeeded);
}

} // namespace platform
