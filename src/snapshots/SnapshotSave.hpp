#pragma once

#include "snapshots/SnapshotContext.hpp"
#include "snapshots/WindowDetail.hpp"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tilmora::WindowManager {

/// What a snapshot operation reports to its caller: success, and a message ending in a line feed.
using SnapshotCompletion = std::function<void(bool success, const std::string& message)>;

/// Stores the current desktop as one snapshot in `viewContext`: captures the windows
/// (`captureCurrentWindows(false, false)`), inserts one "Snapshot" (the name as given, untrimmed,
/// each byte that is not part of valid UTF-8 stored as U+FFFD; now; scope 1 when
/// `settings::snapshotAllSpaces` is true, else 0) and one "Window" per captured window in capture order, and
/// saves the context in one transaction.
///
/// Each window row holds its frame relative to the display's visible frame (y down from its top),
/// the visible frame's size, its origin packed into `windowID`, the display number and the
/// display's fingerprint packed into `screenUUID`, the pid, and the Space (0 unless all Spaces are
/// saved). The window number is not stored.
///
/// Reports exactly once, before returning:
/// - no window: toast "Snapshot" / "No windows to save." (3 s), (false, "No windows to save.\n");
///   nothing inserted;
/// - the "Snapshot" insert yields no snapshot: (false, "Core Data Snapshot insert failed\n"), no
///   toast;
/// - the save fails (the store's lock held by another program past its wait, a full disk, a
///   read-only store): toast "Snapshot" / "Snapshot '<stored name>' could not be saved: <the
///   store's message>" (3 s), then (false, "Failed to save snapshot: " + the store's message +
///   "\n");
/// - success: toast "Snapshot" / "Snapshot '<stored name>' saved successfully." (3 s), then
///   (true, "Snapshot saved successfully.\n"); into a store in memory that stands in for an
///   unusable store file (`SnapshotContext::standsInFor`) the toast is "Snapshot '<stored name>' is
///   kept only until Tilmora quits: the snapshot store is in use by another program." (or "...
///   cannot be used.").
/// A failed save leaves nothing of itself behind: the objects it inserted are discarded (other
/// pending changes of the context stay). A "Window" insert that yields something else is dropped
/// and that window left out.
///
/// Logs while verbose logging is on (after `applyRuntimePrefs()`), in this order: "CONFIG"
/// "Capture primary rule: " + `settings::capturePrimaryRule` (default "center"), "START" "=== saveSnapshot:
/// <name> ===", the capture's lines, "INFO" "[SAVE][SPACE] allSpacesPref=... windows=...
/// windowsWithSpaceID=... distinctSpaces=..." (with a "WARN" line when all Spaces are saved but no
/// window has a Space), then the grouped log. Main thread.
void saveSnapshot(const std::string& snapshotName, SnapshotContext& viewContext,
                  const SnapshotCompletion& completion);

/// The save's log of the captured windows by display, only while verbose logging is on: an empty
/// line, then per display number (ascending) a "GROUP" header "Saved on <screen name> (id=N): K
/// window(s)", one "GROUP" line per window in capture order ("  • <bundle> ‘<title>’ px=(x:.., y:..,
/// w:.., h:..) norm=(x:0.000, ...) origDisplayBounds=(x:.., y:.., w:.., h:..)") and an empty line.
/// The normalised values divide by the visible frame's size, or by 1 where that is below 1.
void logCaptureGroupedByDisplay(const std::vector<WindowDetail>& details);

/// The localized name of the first screen whose display number is `displayID`; "Unknown" when no
/// screen has it. Any thread; logs nothing.
std::string screenName(std::uint32_t displayID);

} // namespace tilmora::WindowManager
