#pragma once

#include "platform/desktop/NSWorkspace.hpp"
#include "platform/foundation/NotificationCenter.hpp"

#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

namespace testsupport {

/// Records, from its making to its end, the process identifier of the application that each
/// workspace notification `name` names (0 for one that names none). Main thread.
class WorkspacePidRecorder {
public:
    explicit WorkspacePidRecorder(std::string name)
        : token_(platform::NSWorkspace::shared().notificationCenter().addObserver(
              std::move(name), nullptr, [this](const platform::Notification& n) {
                  const auto app = platform::NSWorkspace::applicationOf(n);
                  pids.push_back(app ? app->processIdentifier() : 0);
              })) {}
    ~WorkspacePidRecorder() { platform::NSWorkspace::shared().notificationCenter().removeObserver(token_); }
    WorkspacePidRecorder(const WorkspacePidRecorder&) = delete;
    WorkspacePidRecorder& operator=(const WorkspacePidRecorder&) = delete;

    std::vector<pid_t> pids;

private:
    platform::ObserverToken token_;
};

} // namespace testsupport
