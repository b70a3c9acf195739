#pragma once

#include <sys/types.h>

namespace platform {

/// Sends a signal to a process of the simulated desktop, like POSIX `kill`: 0 on success, else -1
/// with `errno` set to ESRCH (no such process, or it has ended; also for a pid below 1) or EPERM
/// (the process may not be signalled). Signal 0 only probes. SIGTERM (15) and SIGKILL (9) end the
/// process at once when it obeys that signal; other signals are accepted and ignored. The program's
/// own pid answers the probe. Journalled. Any thread; logs nothing.
int kill(pid_t pid, int signal);

} // namespace platform
