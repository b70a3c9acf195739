#include "snapshots/SnapshotRestore.hpp"

#include "snapshots/AppRestoreContext.hpp"
#include "snapshots/AppWindowRestore.hpp"
#include "snapshots/DisplayMapping.hpp"
#include "snapshots/RestorePlan.hpp"
#include "snapshots/ScreenRemapping.hpp"
#include "snapshots/ScreenResolution.hpp"
#include "snapshots/SmartFitPlacement.hpp"
#include "snapshots/Snapshot.hpp"
#include "snapshots/SnapshotBridging.hpp"
#include "windows/CGWindowIndex.hpp"
#include "windows/ScreenIdentity.hpp"
#include "windows/SpacesMover.hpp"
#include "windows/SpacesService.hpp"
#include "windows/WindowManager.hpp"

#include "model/Log.hpp"
#include "model/NotificationManager.hpp"
#include "model/Settings.hpp"
#include "platform/desktop/CGDisplay.hpp"
#include "platform/desktop/NSWorkspace.hpp"
#include "platform/dispatch/DispatchGroup.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/MediaTime.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/dispatch/Thread.hpp"
#include "platform/foundation/UserDefaults.hpp"

#include <exception>
#include <memory>
#include <set>

namespace tilmora::WindowManager {

using platform::NSRunningApplication;
using platform::NSScreen;

namespace {

const char* flagText(bool value) {
    return value ? "true" : "false";
}

/// A wait of the settings in seconds (an integer counts); the setting's fallback when absent, not a
/// number or not finite.
double storedSeconds(const settings::NumberSetting& setting) {
    const double seconds = settings::read(setting);
    return std::isfinite(seconds) ? seconds : setting.fallback;
}

/// The kept rows: with a scope other than all Spaces, those of the current Space (and those
/// saved without one) when the current Space is known.
std::vector<WindowValue> rowsToRestore(const SnapshotValue& snapshot) {
    if (snapshot.scope == static_cast<std::int16_t>(Snapshot::Scope::allSpaces)) return snapshot.windows;
    const auto current = currentWorkspaceID();
    if (!current) return snapshot.windows;
    std::vector<WindowValue> kept;
    for (const auto& row : snapshot.windows) {
        const auto space = static_cast<std::int32_t>(row.spaceID);
        if (space < 1 || space == *current) kept.push_back(row);
    }
    return kept;
}

/// The Spaces policy of a restore.
struct SpacesPolicy {
    bool useSkyLightMoves = false;
    bool useNoCheatFallback = false;
};

SpacesPolicy decideSpacesPolicy(const SnapshotValue& snapshot, const std::vector<WindowValue>& rows,
                                const RestoreSettings& settings, RestoreLogSession& session) {
    SpacesPolicy policy;
    if (snapshot.scope != static_cast<std::int16_t>(Snapshot::Scope::allSpaces)) return policy;
    std::size_t withSpace = 0;
    std::set<std::int64_t> distinct;
    for (const auto& row : rows) {
        if (row.spaceID <= 0) continue;
        ++withSpace;
        distinct.insert(row.spaceID);
    }
    auto& mover = spacesMover();
    if (withSpace > 0 && !settings.killSwitch) {
        policy.useSkyLightMoves = mover.ensureAvailable();
        policy.useNoCheatFallback = !policy.useSkyLightMoves;
    }
    const bool lookupEffective =
        mover.connection != 0 && (mover.copySpacesFn || mover.copyManagedDisplaySpacesFn || mover.getActiveSpaceFn) &&
        mover.lookupEverReturnedNonEmpty.load();
    session.logOnce("spacesPolicy",
                    "Spaces restore policy: scope=allSpaces, savedSpaceIDs=" + std::to_string(withSpace) + "/" +
                        std::to_string(rows.size()) + " distinct=" + std::to_string(distinct.size()) +
                        ", preferSkyLight=true, skylightLookupEffective=" + flagText(lookupEffective) +
                        ", useSkyLightMoves=" + flagText(policy.useSkyLightMoves) +
                        ", useNoCheatFallback=" + flagText(policy.useNoCheatFallback) +
                        ", killSwitch=" + flagText(settings.killSwitch),
                    "SPACE");
    if (withSpace == 0)
        session.logOnce("spacesNoData",
                        "Spaces restore is enabled for this snapshot, but no windows have a valid spaceID. Restoring "
                        "geometry only (current Space).",
                        "SPACE");
    if (policy.useNoCheatFallback) SpacesService::shared().ensureAnchorForCurrentSpace(true);
    return policy;
}

/// "[\"2->1 [moveOnly]\"]".
std::string remapText(const ScreenRemap& remap) {
    std::string text = "[";
    for (auto it = remap.begin(); it != remap.end(); ++it) {
        if (it != remap.begin()) text += ", ";
        text += "\"" + std::to_string(it->first) + "->" + std::to_string(it->second.displayID) + " [" +
                std::string(caseName(it->second.mode)) + "]\"";
    }
    return text + "]";
}

/// Launches the application (without activation) and, once it appears, restores its windows;
/// records it as failed when it cannot be launched or does not appear in time.
void launchAndRestore(const std::shared_ptr<const AppRestoreContext>& context, double launchMaxWait) {
    const auto& bundleID = context->bundleID;
    logLine("LAUNCH", "Launching app: " + bundleID);
    if (!platform::NSWorkspace::shared().launchApp(bundleID, platform::NSWorkspaceLaunchWithoutActivation)) {
        logLine("ERROR", "Failed to launch app: " + bundleID);
        context->failed->append(bundleID);
        context->group.leave();
        return;
    }
    platform::DispatchQueue::global(platform::DispatchQoS::userInitiated).async([context, launchMaxWait] {
        std::optional<NSRunningApplication> app;
        try {
            app = waitForRunningApp(context->bundleID, launchMaxWait);
        } catch (const std::exception& error) {
            logLine("ERROR", "Waiting for " + context->bundleID + " stopped: " + error.what());
        }
        if (app) {
            restoreAppWindows(app, *context);
            return;
        }
        logLine("ERROR", "Timed out waiting for app to launch: " + context->bundleID);
        context->failed->append(context->bundleID);
        context->group.leave();
    });
}

void logScreens() {
    const auto screens = NSScreen::screens();
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const auto id = tlm_displayID(screens[i]).value_or(0);
        const platform::CGRect bounds = id != 0 ? platform::CGDisplayBounds(id) : platform::CGRect{0, 0, 0, 0};
        logLine("SCREEN", "Screen #" + std::to_string(i) + ": id=" + std::to_string(id) +
                              ", NSScreen.frame=" + screens[i].frame().description() +
                              ", CGDisplayBounds=" + bounds.description() + ", Name=" + screens[i].localizedName());
    }
}

} // namespace

RestoreSettings RestoreSettings::read() {
    RestoreSettings settings;
    settings.activateApps = settings::read(settings::snapshotRestoreActivateApps);
    settings.raiseWindows = settings::read(settings::snapshotRestoreRaiseWindows);
    settings.initialAXTimeout = storedSeconds(settings::snapshotRestoreInitialAXTimeout);
    settings.launchMaxWait = storedSeconds(settings::snapshotRestoreLaunchMaxWait);
    settings.killSwitch = platform::UserDefaults::standard().boolForKey(settings::spacesKillSwitch.key);
    return settings;
}

void restoreSnapshot(const Snapshot& snapshot, SnapshotContext& /*viewContext*/, const SnapshotCompletion& completion) {
    restoreSnapshot(snapshot.value(), completion);
}

void restoreSnapshot(const SnapshotValue& snapshot, const SnapshotCompletion& completion) {
    applyRuntimePrefs();
    const std::string name = snapshot.name.value_or("Unnamed");
    print("");
    logLine("START", "=== restoreSnapshot: " + name + " ===");
    const auto screens = NSScreen::screens();
    if (verboseLogging()) logScreens();
    NotificationManager::shared().show("Launching Snapshot", "Restoring '" + name + "'...", 999.0);
    platform::RunLoop::current().runUntilMediaTime(platform::mediaTime() + 0.01);
    platform::DispatchQueue::global(platform::DispatchQoS::userInitiated).async([snapshot, name, completion, screens] {
        runRestoreWorker(snapshot, name, completion, screens);
    });
}

void runRestoreWorker(const SnapshotValue& snapshot, const std::string& name, const SnapshotCompletion& completion,
                      const std::vector<NSScreen>& screens) {
    RestoreSettings settings;
    std::vector<WindowValue> rows;
    auto session = std::make_shared<RestoreLogSession>();
    SpacesPolicy policy;
    ScreenRemap remap;
    RestorePlan plan;
    try {
        settings = RestoreSettings::read();
        rows = rowsToRestore(snapshot);
        policy = decideSpacesPolicy(snapshot, rows, settings, *session);
        if (rows.empty()) {
            logLine("WARN", "No windows to restore for snapshot " + name);
            platform::DispatchQueue::main().async([completion] { finishRestoreWithoutWindows(completion); });
            return;
        }
        remap = buildScreenRemapping(rows);
        if (!remap.empty()) logLine("SCREEN", "Screen remapping selections: " + remapText(remap));
        plan = planRestore(snapshot, rows, remap, screens);
    } catch (const std::exception& error) {
        // Nothing was started yet: every application of the snapshot counts as failed, and the
        // caller still hears exactly once.
        logLine("ERROR", "Restore of snapshot " + name + " stopped before its applications: " + error.what());
        auto groups = groupWindowsByBundle(snapshot.windows);
        groups.erase("");
        std::vector<std::string> failed;
        for (const auto& entry : groups)
            failed.push_back(entry.first);
        platform::DispatchQueue::main().async([failed, name, completion] { finishRestore(failed, name, completion); });
        return;
    }

    const platform::DispatchGroup group;
    const auto failed = std::make_shared<RestoreFailureList>();
    const auto queue = platform::DispatchQueue::global(platform::DispatchQoS::userInitiated);
    // Ascending bundle identifier.
    for (const auto& [bundleID, windows] : plan.groups) {
        group.enter();
        auto context = std::make_shared<AppRestoreContext>();
        context->windows = windows;
        context->bundleID = bundleID;
        context->placementsByRow = plan.placementsByRow;
        context->failed = failed;
        context->group = group;
        context->activateApps = settings.activateApps;
        context->initialAXTimeout = settings.initialAXTimeout;
        context->useNoCheatFallback = policy.useNoCheatFallback;
        context->remap = remap;
        context->smartFitRects = plan.smartFitRects;
        context->tileGridRects = plan.tileGridRects;
        context->logSession = session;
        context->useSkyLightMoves = policy.useSkyLightMoves;
        context->raiseWindows = settings.raiseWindows;

        const auto running = NSRunningApplication::runningApplications(bundleID);
        if (!running.empty()) {
            logLine("INFO", "App already running: " + bundleID + " — restoring immediately");
            std::shared_ptr<const AppRestoreContext> shared = context;
            queue.async([app = running.front(), shared] { restoreAppWindows(app, *shared); });
        } else {
            launchAndRestore(context, settings.launchMaxWait);
        }
    }

    group.notify(platform::DispatchQueue::main(),
                 [failed, name, completion] { finishRestore(failed->identifiers(), name, completion); });
}

RestorePlan planRestore(const SnapshotValue& snapshot, const std::vector<WindowValue>& rows, const ScreenRemap& remap,
                        const std::vector<NSScreen>& screens) {
    RestorePlan plan;
    plan.swapDetected = detectDisplayIdSwap(rows, screens);
    if (plan.swapDetected)
        logLine("SCREEN", "Display ID swap detected; disabling SnapshotEngine placements to avoid wrong-display "
                          "restores.");
    const auto current = NSScreen::screens();
    if (remap.empty() && !plan.swapDetected) {
        SnapshotValue kept = snapshot;
        kept.windows = rows;
        plan.placementsByRow = SnapshotBridging::placementsByRow(kept, SnapshotBridging::displayDescriptors(current));
    }
    logRestorePlanGroupedByDisplay(rows, current, remap);
    print("");
    plan.smartFitRects = smartFitRects(rows, remap, current);
    plan.tileGridRects = precomputeTileGridRects(rows, remap);
    plan.groups = groupWindowsByBundle(rows);
    plan.groups.erase("");
    logLine("INFO", "Restoring " + std::to_string(rows.size()) + " windows across " +
                        std::to_string(plan.groups.size()) + " app(s)");
    return plan;
}

std::optional<NSRunningApplication> waitForRunningApp(const std::string& bundleID, double timeout) {
    const double start = platform::mediaTime();
    while (platform::mediaTime() - start < timeout) {
        const auto running = NSRunningApplication::runningApplications(bundleID);
        if (!running.empty()) return running.front();
        platform::usleep(100000);
    }
    return std::nullopt;
}

std::map<std::string, std::vector<WindowValue>> groupWindowsByBundle(const std::vector<WindowValue>& windows) {
    std::map<std::string, std::vector<WindowValue>> groups;
    for (const auto& window : windows)
        groups[window.bundleIdentifier.value_or("")].push_back(window);
    return groups;
}

void finishRestore(const std::vector<std::string>& failed, const std::string& name,
                   const SnapshotCompletion& completion) {
    std::string summary;
    if (failed.empty()) {
        summary = "Snapshot '" + name + "' launched.";
    } else {
        summary = "Some apps failed to launch: ";
        for (std::size_t i = 0; i < failed.size(); ++i)
            summary += (i ? ", " : "") + failed[i];
    }
    print("");
    logLine(failed.empty() ? "SUCCESS" : "WARN",
            std::string("restoreSnapshot complete — success=") + flagText(failed.empty()) + ". " + summary);
    NotificationManager::shared().show("Snapshot Restore", summary, 3.0);
    if (completion) completion(failed.empty(), summary + "\n");
}

void finishRestoreWithoutWindows(const SnapshotCompletion& completion) {
    NotificationManager::shared().show("Snapshot Restore", "No windows to restore.", 3.0);
    if (completion) completion(false, "No windows to restore.\n");
}

} // namespace tilmora::WindowManager
