#pragma once

#include <sys/types.h>

namespace platform {

/// The current user as the simulated system knows it.
class UserIdentity {
public:
    /// The user id: 501 unless the simulator sets another (`UserIdentityControl`). Any thread.
    static uid_t getuid();
};

} // namespace platform
