#pragma once

#include "platform/internal/DesktopModel.hpp"

namespace platform::desktop_detail {

/// Posts one of the desktop's notifications: workspace ones on the workspace's center (object: the
/// workspace, user info "NSWorkspaceApplicationKey" = pid when there is one), the screen-parameters
/// one on the default center. Called without the desktop's lock. Observers run on the main thread,
/// as the window server delivers them: synchronously when the change was made there, else from a
/// block queued to the main queue (a restore worker activating an application).
void postDesktopNotification(const PendingNotification& notification);

} // namespace platform::desktop_detail
