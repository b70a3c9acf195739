#pragma once

#include "platform/desktop/NSRunningApplication.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/SharedInstance.hpp"

#include <optional>
#include <string>
#include <vector>

namespace platform {

class NotificationCenter;
struct Notification;

/// Launch option: launch without bringing the application to the front.
inline constexpr unsigned NSWorkspaceLaunchWithoutActivation = 0x200;

/// Workspace notification names (posted on `NSWorkspace::shared().notificationCenter()`, object =
/// the workspace, user info "NSWorkspaceApplicationKey" = the application's pid as an integer
/// where an application is concerned; read it with `NSWorkspace::applicationOf`).
inline constexpr const char* NSWorkspaceDidActivateApplicationNotification =
    "NSWorkspaceDidActivateApplicationNotification";
inline constexpr const char* NSWorkspaceDidLaunchApplicationNotification =
    "NSWorkspaceDidLaunchApplicationNotification";
inline constexpr const char* NSWorkspaceDidTerminateApplicationNotification =
    "NSWorkspaceDidTerminateApplicationNotification";
inline constexpr const char* NSWorkspaceActiveSpaceDidChangeNotification =
    "NSWorkspaceActiveSpaceDidChangeNotification";
inline constexpr const char* NSWorkspaceApplicationKey = "NSWorkspaceApplicationKey";
/// Posted on the default notification center when the screen list changed.
inline constexpr const char* NSApplicationDidChangeScreenParametersNotification =
    "NSApplicationDidChangeScreenParametersNotification";

/// The running applications and the launching of applications on the simulated desktop. Notifications
/// are posted on the main thread: synchronously when the call (or the turn of the virtual clock)
/// that caused them ran there, else queued to the main queue. Any thread; logs nothing; launches
/// and opens are journalled.
class NSWorkspace {
public:
    static NSWorkspace& shared();

    /// The workspace's own notification center.
    NotificationCenter& notificationCenter();

    /// Every application that has finished launching and not ended, the program included, in
    /// launch order.
    std::vector<NSRunningApplication> runningApplications() const;
    /// The application in front; none when no application is.
    std::optional<NSRunningApplication> frontmostApplication() const;

    /// Launches an installed application by bundle identifier (options: 0 or
    /// `NSWorkspaceLaunchWithoutActivation`). False for an unknown bundle. When an instance is
    /// already running no second one starts (it is activated unless told not to).
    bool launchApp(const std::string& bundleIdentifier, unsigned options);
    /// Opens a URL: a "file://" URL or a plain path of an installed application's bundle launches it
    /// (activated); any other URL (for example "x-apple.systempreferences:...") is only recorded.
    /// False for a file URL that names no installed application, and for every URL while the
    /// simulator makes opening fail (`WorkspaceControl`).
    bool openURL(const std::string& url);

    /// The application named by a workspace notification's "NSWorkspaceApplicationKey".
    static std::optional<NSRunningApplication> applicationOf(const Notification& notification);

private:
    friend class SharedInstance<NSWorkspace>;
    NSWorkspace() = default;
    NotificationCenter center_;
};

} // namespace platform
