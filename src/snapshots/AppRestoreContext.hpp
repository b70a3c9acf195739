#pragma once

#include "model/Settings.hpp"
#include "snapshots/RestoreFailureList.hpp"
#include "snapshots/ScreenRemap.hpp"
#include "snapshots/SmartFitPlacement.hpp"
#include "snapshots/SnapshotPlacement.hpp"
#include "snapshots/WindowValue.hpp"
#include "windows/RestoreLogSession.hpp"

#include "platform/dispatch/DispatchGroup.hpp"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tilmora::WindowManager {

/// What the restore hands to the work for one application: its saved rows and everything the
/// restore decided once for all applications. Built by the restore worker per bundle identifier;
/// a plain value (the shared parts are held by pointer or handle), read on the application's
/// worker thread.
struct AppRestoreContext {
    /// The rows of this application, in saved order.
    std::vector<WindowValue> windows;
    std::string bundleID;
    /// The engine's placement of each row by row id (the whole snapshot's; empty when the restore
    /// computed none). A row finds its own placement here, never another row's.
    std::map<std::int64_t, SnapshotPlacement> placementsByRow;
    /// The restore's failure list (shared by all applications).
    std::shared_ptr<RestoreFailureList> failed;
    /// The restore's group: the application's work has entered it once and leaves it once.
    platform::DispatchGroup group;
    /// Activate the application before fetching its windows.
    bool activateApps = settings::snapshotRestoreActivateApps.fallback;
    /// Seconds of the first wait for the application's windows.
    double initialAXTimeout = settings::snapshotRestoreInitialAXTimeout.fallback;
    /// Return windows to their Spaces by switching the desktop to each Space in turn.
    bool useNoCheatFallback = false;
    /// Where the windows of missing saved displays go.
    ScreenRemap remap;
    /// Target rectangles of rows fitted as a group onto a replacement display, by row id (global
    /// coordinates, points).
    PlacementRects smartFitRects;
    /// Target rectangles of tile-grid rows by row id (always empty today).
    PlacementRects tileGridRects;
    /// The restore's log session.
    std::shared_ptr<RestoreLogSession> logSession;
    /// Move windows to their Spaces through the window server.
    bool useSkyLightMoves = false;
    /// Raise each placed window.
    bool raiseWindows = false;
};

} // namespace tilmora::WindowManager
