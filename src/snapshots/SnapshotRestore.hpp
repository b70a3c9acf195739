#pragma once

#include "model/Settings.hpp"
#include "snapshots/SnapshotSave.hpp"
#include "snapshots/SnapshotValue.hpp"

#include "platform/desktop/NSRunningApplication.hpp"
#include "platform/desktop/NSScreen.hpp"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tilmora {
class Snapshot;
class SnapshotContext;
} // namespace tilmora

namespace tilmora::WindowManager {

/// Restores a saved snapshot: launches its applications that are not running (without bringing
/// them to the front) and waits for them, opens windows they lack, places every saved window on
/// its display with verify and retry, moves it back to its Space, and reports once.
///
/// Main thread. Copies the snapshot at once (`Snapshot::value()`), so that deleting or editing it
/// while the restore runs changes nothing of the restore; `viewContext` is accepted and not used.
/// Logs the screens, shows the toast "Launching Snapshot" / "Restoring '<name>'..." for 999 s,
/// turns the run loop for 0.01 s and hands the copy to the restore worker on a global queue;
/// returns then. `completion` runs exactly once, on the main queue, after the toast "Snapshot
/// Restore" with the summary (3 s): (true, "Snapshot '<name>' launched.\n"), (false, "Some apps
/// failed to launch: <ids>\n") or (false, "No windows to restore.\n"). A snapshot without a name
/// is called "Unnamed".
void restoreSnapshot(const Snapshot& snapshot, SnapshotContext& viewContext, const SnapshotCompletion& completion);

/// The same for a copy already taken on the main thread.
void restoreSnapshot(const SnapshotValue& snapshot, const SnapshotCompletion& completion);

/// The restore settings, read from the standard user defaults at the start of every restore. A
/// missing value, or one of another type, gives the setting's fallback (the default here).
struct RestoreSettings {
    /// `settings::snapshotRestoreActivateApps`: activate each application before placing its windows.
    bool activateApps = settings::snapshotRestoreActivateApps.fallback;
    /// `settings::snapshotRestoreRaiseWindows`: raise each placed window.
    bool raiseWindows = settings::snapshotRestoreRaiseWindows.fallback;
    /// `settings::snapshotRestoreInitialAXTimeout`, seconds: the first wait for an application's windows.
    double initialAXTimeout = settings::snapshotRestoreInitialAXTimeout.fallback;
    /// `settings::snapshotRestoreLaunchMaxWait`, seconds: the longest wait for a launched application.
    double launchMaxWait = settings::snapshotRestoreLaunchMaxWait.fallback;
    /// `settings::spacesKillSwitch` (read as a Boolean): no moves between Spaces.
    bool killSwitch = settings::spacesKillSwitch.fallback;

    /// Reads the five settings now. Any thread.
    static RestoreSettings read();
};

/// The restore worker: everything after the entry, for the copy `snapshot` whose display name is
/// `name`, with the screens the entry read. Runs on a background queue and blocks it while it
/// waits (the replacement-display prompt, launches). Ends with exactly one `completion` on the
/// main queue.
void runRestoreWorker(const SnapshotValue& snapshot, const std::string& name, const SnapshotCompletion& completion,
                      const std::vector<platform::NSScreen>& screens);

/// The first running application with this bundle identifier, polled every 100 ms until
/// `timeout` seconds have passed; none then. A timeout of zero or less answers none at once,
/// without looking. Blocks the calling thread (a background queue).
std::optional<platform::NSRunningApplication> waitForRunningApp(const std::string& bundleID, double timeout);

/// The rows by bundle identifier, each list in input order; a row without one is keyed "".
std::map<std::string, std::vector<WindowValue>> groupWindowsByBundle(const std::vector<WindowValue>& windows);

/// The final report of a restore, on the main queue (call it there): with no failure the summary
/// "Snapshot '<name>' launched.", else "Some apps failed to launch: " + the identifiers in the
/// order recorded, joined by ", "; logs "restoreSnapshot complete — success=<b>. <summary>" (level
/// "SUCCESS" or "WARN"), shows the toast "Snapshot Restore" / summary for 3 s and calls
/// `completion` with the outcome and the summary + "\n".
void finishRestore(const std::vector<std::string>& failed, const std::string& name,
                   const SnapshotCompletion& completion);

/// The report of a restore with no window to place, on the main queue: the toast "Snapshot
/// Restore" / "No windows to restore." (3 s) and (false, "No windows to restore.\n").
void finishRestoreWithoutWindows(const SnapshotCompletion& completion);

} // namespace tilmora::WindowManager
