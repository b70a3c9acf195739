#include "platform/desktop/NSWorkspace.hpp"

#include "platform/internal/DesktopModel.hpp"
#include "platform/internal/DesktopTransaction.hpp"
#include "platform/internal/WorkspaceState.hpp"
#include "platform/foundation/NotificationCenter.hpp"

#include <algorithm>

namespace platform {

using desktop_detail::AppRecord;
using desktop_detail::AppState;
using desktop_detail::DesktopModel;

NSWorkspace& NSWorkspace::shared() {
    return SharedInstance<NSWorkspace>::get();
}

NotificationCenter& NSWorkspace::notificationCenter() {
    return center_;
}

std::vector<NSRunningApplication> NSWorkspace::runningApplications() const {
    TXN;
    const auto pids = m.runningPids([](const AppRecord& a) { return a.listed; });
    return {pids.begin(), pids.end()};
}

std::optional<NSRunningApplication> NSWorkspace::frontmostApplication() const {
    TXN;
    if (m.frontPid == 0 || !m.liveApp(m.frontPid)) return std::nullopt;
    return NSRunningApplication(m.frontPid);
}

bool NSWorkspace::launchApp(const std::string& bundleIdentifier, unsigned options) {
    TXN;
    if (!m.installed.count(bundleIdentifier)) {
        JournalEntry e;
        e.kind = JournalEntry::Kind::launch;
        e.what = bundleIdentifier;
        e.detail = "unknown bundle";
        e.result = -1;
        m.record(e);
        return false;
    }
    bool activate = (options & NSWorkspaceLaunchWithoutActivation) == 0;
    for (const auto& [pid, a] : m.apps) {
        if (a.state != AppState::terminated && a.spec.bundleIdentifier == bundleIdentifier) {
            JournalEntry e;
            e.kind = JournalEntry::Kind::launch;
            e.pid = pid;
            e.what = bundleIdentifier;
            e.detail = "already running";
            m.record(e);
            if (activate && a.state == AppState::running) m.makeFrontmost(pid, true);
            return true;
        }
    }
    m.startInstance(bundleIdentifier, activate, false);
    return true;
}

bool NSWorkspace::openURL(const std::string& url) {
    TXN;
    JournalEntry e;
    e.kind = JournalEntry::Kind::open;
    e.what = url;
    if (workspace_detail::state().openURLFails) {
        e.result = -1;
        e.detail = "opening failed";
        m.record(e);
        return false;
    }
    std::string path = url;
    bool isFile = false;
    if (path.rfind("file://", 0) == 0) {
        path = path.substr(7);
        isFile = true;
    } else if (path.rfind("/", 0) == 0) {
        isFile = true;
    }
    if (!isFile) {
        m.record(e);
        return true;
    }
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    for (const auto& [id, spec] : m.installed) {
        if (spec.bundlePath == path) {
            m.record(e);
            for (const auto& [pid, a] : m.apps) {
                if (a.state != AppState::terminated && a.spec.bundleIdentifier == id) {
                    if (a.state == AppState::running) m.makeFrontmost(pid, true);
                    return true;
                }
            }
            m.startInstance(id, true, false);
            return true;
        }
    }
    e.result = -1;
    e.detail = "no such application";
    m.record(e);
    return false;
}

std::optional<NSRunningApplication> NSWorkspace::applicationOf(const Notification& notification) {
    auto it = notification.userInfo.find(NSWorkspaceApplicationKey);
    if (it == notification.userInfo.end()) return std::nullopt;
    const std::int64_t* pid = it->second.asInteger();
    if (!pid) return std::nullopt;
    return NSRunningApplication(pid_t(*pid));
}

} // namespace platform
