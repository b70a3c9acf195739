#pragma once

#include <compare>
#include <cstdint>

namespace platform {

/// What a timed wait of a semaphore or group reports.
enum class DispatchTimeoutResult { success, timedOut };

/// A point on the monotonic clock (nanoseconds of uptime), used as a deadline for waits and
/// delayed dispatches: `DispatchTime::now() + 1.0` is one second from now.
struct DispatchTime {
    std::int64_t uptimeNanoseconds = 0;

    static DispatchTime now();
    /// A deadline that never comes.
    static DispatchTime distantFuture();
    /// `seconds` later (saturating at the distant future).
    DispatchTime operator+(double seconds) const;

    friend auto operator<=>(const DispatchTime&, const DispatchTime&) = default;
};

} // namespace platform
