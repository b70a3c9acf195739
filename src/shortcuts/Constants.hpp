#pragma once

#include "platform/foundation/SharedInstance.hpp"

namespace tilmora::GlobalShortcuts {

/// Facts about the process the recorder needs, found once: whether the program runs in the app
/// sandbox (the process environment holds "APP_SANDBOX_CONTAINER_ID", whatever its value). Reset
/// with the other shared instances (the next use looks again). Any thread after creation.
class Constants {
public:
    static bool isSandboxed() { return platform::SharedInstance<Constants>::get().isSandboxed_; }

private:
    friend class platform::SharedInstance<Constants>;
    Constants();
    bool isSandboxed_ = false;
};

} // namespace tilmora::GlobalShortcuts
