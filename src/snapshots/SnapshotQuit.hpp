#pragma once

#include "snapshots/Snapshot.hpp"
#include "snapshots/SnapshotSave.hpp"
#include "snapshots/SnapshotValue.hpp"

#include <cstdint>
#include <set>
#include <string>

namespace tilmora::WindowManager {

/// Bundle identifiers that a snapshot quit never ends, whatever the snapshot holds: the empty
/// text, the program's own bundle identifier (from the main bundle; the empty text when it has
/// none) and "com.apple.finder", "com.apple.dock", "com.apple.systemuiserver",
/// "com.apple.loginwindow". Any thread.
std::set<std::string> neverQuitBundleIdentifiers();

/// Ends every running instance of every application of `snapshot`, except those of
/// `neverQuitBundleIdentifiers()`. Returns at once; the work runs on a global user-initiated
/// queue and the completion is called once, on the main queue, with whether every instance ended
/// and a message ending in a line feed:
/// - nothing to quit: (true, "No applications to quit for this snapshot.\n");
/// - all ended: (true, "All snapshot applications terminated.\n");
/// - else: (false, "Some snapshot applications failed to terminate.\n").
///
/// The applications go in ascending order of bundle identifier, the instances in launch order,
/// one after another. Each instance climbs a ladder until it is gone: `terminate` (then waits
/// 2.5 s), `forceTerminate` (2.0 s), SIGTERM (1.0 s), SIGKILL (1.0 s); one that survives all four
/// (at most 6.5 s of waiting) is logged "Failed to terminate ..." and makes the quit fail, and the
/// others are still processed. The snapshot is not changed.
///
/// Logs `WindowManager` lines (only while verbose logging is on): on the calling thread an empty
/// line and "START" "=== quitSnapshot: <name or Unnamed> ==="; then per instance "INFO"
/// "Attempting to terminate <name> (<bundle>) [pid=P]", "Terminate requested=<bool> <name>",
/// "Terminated <name>" / "Force-terminate requested=<bool> <name>", "Force-terminated <name>" /
/// "WARN" "SIGTERM fallback <name> [pid=P]", "INFO" "SIGTERM succeeded <name>" / "WARN"
/// "SIGKILL fallback <name> [pid=P]", "INFO" "SIGKILL succeeded <name>" / "ERROR" "Failed to
/// terminate <name> (<bundle>) [pid=P]" (name: the application's localized name, else its bundle
/// identifier); at the end an empty line and "quitSnapshot complete — success=<bool>. <message>"
/// at "SUCCESS" (all ended) or "WARN". Main thread (it reads the store's objects).
void quitSnapshot(const Snapshot& snapshot, SnapshotCompletion completion);

/// The same for a copy of a snapshot; any thread.
void quitSnapshot(const SnapshotValue& snapshot, SnapshotCompletion completion);

/// Waits up to `timeout` seconds for process `pid` to be gone, probing it with signal 0 every
/// 100 ms (the platform's clock). True once a probe answers ESRCH (no such process); a probe that
/// fails otherwise (no permission) counts as still running. A pid below 1 counts as gone at once
/// and is never signalled. Blocks the calling thread (not the main thread); logs nothing.
bool waitUntilExit(std::int32_t pid, double timeout);

/// Sends `signal` to process `pid`; false when the pid is below 1 (it would name a process group
/// or every process, so it is refused without a signal) or the signal fails. Any thread; logs
/// nothing.
bool sendSignal(std::int32_t pid, int signal);

} // namespace tilmora::WindowManager
