#pragma once

#include <compare>
#include <functional>

namespace platform {

/// A wall-clock instant: seconds since 1970-01-01 00:00:00 UTC as a double.
///
/// `Date::now()` reads one replaceable time source. By default that is the host's system clock; the
/// scheduler installs its virtual clock with `setNowProvider` so that every reader of the wall clock
/// (time stamps of log lines, dates stored in user defaults) follows simulated time. Thread-safe.
struct Date {
    /// Seconds since 1970-01-01 00:00:00 UTC.
    double timeIntervalSince1970 = 0.0;

    /// A function that returns the current time in seconds since 1970.
    using NowProvider = std::function<double()>;

    /// The current instant from the installed time source. Any thread.
    static Date now();

    /// Installs the time source behind `now()`; an empty function restores the system clock.
    /// Any thread; the provider itself is called without any lock held.
    static void setNowProvider(NowProvider provider);

    /// The time source's reading of the host's real clock, in seconds since 1970.
    static double systemNow();

    /// Seconds from `other` to this instant (positive when this one is later).
    double timeIntervalSince(Date other) const { return timeIntervalSince1970 - other.timeIntervalSince1970; }

    friend auto operator<=>(const Date&, const Date&) = default;
};

} // namespace platform
