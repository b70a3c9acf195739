#include "snapshots/SnapshotSave.hpp"

#include "snapshots/DisplayFingerprint.hpp"
#include "snapshots/SavedDisplayIdentity.hpp"
#include "snapshots/WindowCapture.hpp"

#include "model/Log.hpp"
#include "model/NotificationManager.hpp"
#include "model/Settings.hpp"
#include "windows/ScreenIdentity.hpp"
#include "windows/WindowManager.hpp"

#include "platform/desktop/NSScreen.hpp"
#include "platform/foundation/Date.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/foundation/Utf8Text.hpp"

#include <cmath>
#include <cstdio>
#include <map>
#include <set>

namespace tilmora::WindowManager {

namespace {

constexpr double toastSeconds = 3.0;

/// A value cut toward zero, in decimal (0 for a value that is not finite or too large).
std::string truncatedText(double value) {
    if (!std::isfinite(value) || std::abs(value) >= 9.2e18) return "0";
    return std::to_string(static_cast<long long>(value));
}

std::string windowLine(const WindowDetail& d) {
    const double dw = d.originalScreenWidth >= 1 ? d.originalScreenWidth : 1;
    const double dh = d.originalScreenHeight >= 1 ? d.originalScreenHeight : 1;
    char px[200];
    std::snprintf(px, sizeof px, "x:%.0f, y:%.0f, w:%.0f, h:%.0f", d.xPosition, d.yPosition, d.width,
                  d.height);
    char norm[200];
    std::snprintf(norm, sizeof norm, "x:%.3f, y:%.3f, w:%.3f, h:%.3f", d.xPosition / dw, d.yPosition / dh,
                  d.width / dw, d.height / dh);
    return "  \u2022 " + d.bundleIdentifier + " \u2018" + d.windowTitle + "\u2019 px=(" + px + ") norm=(" +
           norm + ") origDisplayBounds=(x:" + truncatedText(d.originalScreenOriginX) +
           ", y:" + truncatedText(d.originalScreenOriginY) + ", w:" + truncatedText(d.originalScreenWidth) +
           ", h:" + truncatedText(d.originalScreenHeight) + ")";
}

void report(const SnapshotCompletion& completion, bool success, const std::string& message) {
    if (completion) completion(success, message);
}

} // namespace

std::string screenName(std::uint32_t displayID) {
    for (const auto& screen : platform::NSScreen::screens())
        if (tlm_displayID(screen) == displayID) return screen.localizedName();
    return "Unknown";
}

void logCaptureGroupedByDisplay(const std::vector<WindowDetail>& details) {
    if (!verboseLogging()) return;
    std::map<std::uint32_t, std::vector<const WindowDetail*>> groups;
    for (const auto& detail : details)
        groups[detail.screenID].push_back(&detail);
    print("");
    for (const auto& [displayID, windows] : groups) {
        logLine("GROUP", "Saved on " + screenName(displayID) + " (id=" + std::to_string(displayID) +
                             "): " + std::to_string(windows.size()) + " window(s)");
        for (const WindowDetail* window : windows)
            logLine("GROUP", windowLine(*window));
        print("");
    }
}

void saveSnapshot(const std::string& snapshotName, SnapshotContext& viewContext,
                  const SnapshotCompletion& completion) {
    applyRuntimePrefs();
    auto& defaults = platform::UserDefaults::standard();
    const bool allSpaces = defaults.boolForKey(settings::snapshotAllSpaces.key);
    const std::string rule = settings::read(defaults, settings::capturePrimaryRule);
    logLine("CONFIG", "Capture primary rule: " + rule);
    logLine("START", "=== saveSnapshot: " + snapshotName + " ===");

    const auto details = captureCurrentWindows(false, false);
    if (details.empty()) {
        NotificationManager::shared().show("Snapshot", "No windows to save.", toastSeconds);
        report(completion, false, "No windows to save.\n");
        return;
    }

    std::size_t withSpace = 0;
    std::set<std::int32_t> distinctSpaces;
    for (const auto& detail : details)
        if (detail.spaceID != 0) {
            ++withSpace;
            distinctSpaces.insert(detail.spaceID);
        }
    logLine("INFO", std::string("[SAVE][SPACE] allSpacesPref=") + (allSpaces ? "true" : "false") +
                        " windows=" + std::to_string(details.size()) +
                        " windowsWithSpaceID=" + std::to_string(withSpace) +
                        " distinctSpaces=" + std::to_string(distinctSpaces.size()));
    if (allSpaces && withSpace == 0)
        logLine("WARN",
                "[SAVE][SPACE][WARN] All-Spaces is enabled, but no windows returned a spaceID. This can "
                "occur if SkyLight space lookup is unavailable/blocked. Restore will still fall back "
                "automatically.");
    logCaptureGroupedByDisplay(details);

    // Everything this save inserts, so that a failure takes exactly these back out.
    std::vector<std::shared_ptr<StoredObject>> inserted;
    auto inserting = [&](const char* entity) {
        auto object = viewContext.insertNewObject(entity);
        if (object) inserted.push_back(object);
        return object;
    };

    auto snapshot = std::dynamic_pointer_cast<Snapshot>(inserting("Snapshot"));
    if (!snapshot) {
        viewContext.discard(inserted);
        report(completion, false, "Core Data Snapshot insert failed\n");
        return;
    }
    // Stored as valid UTF-8: bytes that are not are kept visible as U+FFFD.
    snapshot->name = platform::Text::replacingInvalidUtf8(snapshotName);
    snapshot->timestamp = platform::Date::now();
    snapshot->scope = allSpaces ? 1 : 0;

    std::vector<std::shared_ptr<StoredObject>> strays;
    for (const auto& detail : details) {
        auto object = inserting("Window");
        auto window = std::dynamic_pointer_cast<Window>(object);
        if (!window) {
            // Not a window row: it must not be stored on its own.
            if (object) strays.push_back(object);
            continue;
        }
        window->appName = detail.appName;
        window->bundleIdentifier = detail.bundleIdentifier;
        window->windowTitle = detail.windowTitle;
        window->xPosition = detail.xPosition;
        window->yPosition = detail.yPosition;
        window->width = detail.width;
        window->height = detail.height;
        window->screenUUID = packScreenUUID(detail.screenID, displayFingerprintHash(detail.screenID));
        window->originalScreenWidth = detail.originalScreenWidth;
        window->originalScreenHeight = detail.originalScreenHeight;
        window->processID = detail.processID;
        window->windowID = packWindowID(detail.originalScreenOriginX, detail.originalScreenOriginY);
        window->spaceID = allSpaces ? detail.spaceID : 0;
        snapshot->addWindowsObject(window);
    }
    if (!strays.empty()) viewContext.discard(strays);

    try {
        viewContext.save();
    } catch (const platform::Error& error) {
        viewContext.discard(inserted);
        // The user hears of it, not only the caller's log: the snapshot exists nowhere.
        NotificationManager::shared().show(
            "Snapshot", "Snapshot '" + snapshot->name.value_or("") + "' could not be saved: " + error.what(),
            toastSeconds);
        report(completion, false, std::string("Failed to save snapshot: ") + error.what() + "\n");
        return;
    }
    // A store in memory standing in for an unusable store file keeps the snapshot only for this run:
    // the toast says so rather than calling it saved.
    const std::string stored = "Snapshot '" + snapshot->name.value_or("") + "'";
    if (const auto& standIn = viewContext.standsInFor())
        NotificationManager::shared().show(
            "Snapshot",
            stored + " is kept only until Tilmora quits: the snapshot store " +
                (standIn->inUse ? "is in use by another program." : "cannot be used."),
            toastSeconds);
    else
        NotificationManager::shared().show("Snapshot", stored + " saved successfully.", toastSeconds);
    report(completion, true, "Snapshot saved successfully.\n");
}

} // namespace tilmora::WindowManager
