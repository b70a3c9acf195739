#pragma once

#include <optional>
#include <string>
#include <sys/types.h>

namespace platform {

/// The simulator's control of the user id (`UserIdentity`) and of the update framework's start
/// (`SPUStandardUpdaterController::startUpdater`). Reset with the shared instances.
class HostControl {
public:
    static void setUid(uid_t uid);
    /// Makes `startUpdater()` throw an error with this text (none: it starts).
    static void setUpdaterStartError(std::optional<std::string> error);
};

} // namespace platform
