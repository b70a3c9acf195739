#pragma once

namespace platform {

/// The monotonic media clock in seconds (the machine's uptime), for measuring intervals. In the
/// simulated mode it follows the virtual clock and reads 1000.0 right after a reset, as on a
/// machine that has been up for a while. Any thread.
double mediaTime();

} // namespace platform
