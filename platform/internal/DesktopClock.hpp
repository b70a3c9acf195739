#pragma once

#include <functional>
#include <string>

namespace platform::desktop_detail {

/// The one place where the simulated desktop reads virtual time and schedules its own later
/// changes (launch delays, delayed window writes, the lag of the screen list). Seconds of virtual
/// time; any thread.
double clockNow();

/// Runs `event` at virtual time `at` (at once when `at` is not in the future, on the next turn of
/// the clock).
void clockSchedule(double at, std::function<void()> event, std::string label);

} // namespace platform::desktop_detail
