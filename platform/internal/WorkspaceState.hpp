#pragma once

#include "platform/foundation/SharedInstance.hpp"

#include <atomic>

namespace platform::workspace_detail {

/// What `WorkspaceControl` set on the workspace. A shared instance, so
/// `SharedInstances::resetAll` returns it to the defaults. Any thread.
struct WorkspaceState {
    static constexpr SharedScope sharedScope = SharedScope::desktop;
    std::atomic<bool> openURLFails{false};
};

inline WorkspaceState& state() {
    return SharedInstance<WorkspaceState>::get();
}

} // namespace platform::workspace_detail
