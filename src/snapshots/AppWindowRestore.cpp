#include "snapshots/AppWindowRestore.hpp"

#include "snapshots/RestoreTarget.hpp"
#include "snapshots/SnapshotRestore.hpp"
#include "snapshots/WindowSpawning.hpp"
#include "windows/AXAttributeNames.hpp"
#include "windows/RestoreWindowMover.hpp"
#include "windows/AXWindowReader.hpp"
#include "windows/AXWindowTracker.hpp"
#include "windows/AppleScriptRunner.hpp"
#include "windows/CGWindowIndex.hpp"
#include "windows/ScreenIdentity.hpp"
#include "windows/SpaceMoveRetry.hpp"
#include "windows/SpacesMover.hpp"
#include "windows/SpacesService.hpp"
#include "windows/WindowManager.hpp"

#include "model/Log.hpp"
#include "model/Settings.hpp"
#include "platform/desktop/Accessibility.hpp"
#include "platform/desktop/CoordinateSpace.hpp"
#include "platform/desktop/NSGeometry.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/dispatch/Thread.hpp"
#include "platform/foundation/UserDefaults.hpp"

#include <algorithm>
#include <cmath>
#include <exception>
#include <mutex>

namespace tilmora::WindowManager {

using platform::AXUIElement;
using platform::CGRect;
using platform::NSRunningApplication;
using platform::NSScreen;

namespace {

constexpr const char* kTerminal = "com.apple.Terminal";
constexpr const char* kVSCode = "com.microsoft.VSCode";
constexpr const char* kChrome = "com.google.Chrome";
/// Largest difference, points, on any edge or size that counts as placed.
constexpr double kPlacedTolerance = 0.6;

/// Leaves the group once: at `leave()` or, failing that, when it goes away.
class GroupExit {
public:
    explicit GroupExit(platform::DispatchGroup group)
        : group_(std::move(group)) {}
    GroupExit(const GroupExit&) = delete;
    GroupExit& operator=(const GroupExit&) = delete;
    ~GroupExit() { leave(); }
    void leave() {
        if (left_) return;
        left_ = true;
        group_.leave();
    }

private:
    platform::DispatchGroup group_;
    bool left_ = false;
};

/// `rect`'s size clipped to the visible frame, centred on it, made integral.
CGRect centred(const CGRect& rect, const CGRect& visible) {
    const double w = std::min(rect.width(), visible.width());
    const double h = std::min(rect.height(), visible.height());
    return platform::CGRectIntegral({visible.midX() - w / 2, visible.midY() - h / 2, w, h});
}

bool differsBeyondTolerance(const CGRect& a, const CGRect& b) {
    return std::abs(a.minX() - b.minX()) > kPlacedTolerance || std::abs(a.minY() - b.minY()) > kPlacedTolerance ||
           std::abs(a.width() - b.width()) > kPlacedTolerance || std::abs(a.height() - b.height()) > kPlacedTolerance;
}

/// The display number of the screen holding `rect` now; `holds` false when no screen does.
struct HoldingScreen {
    bool holds = false;
    std::optional<std::uint32_t> displayID;
};

HoldingScreen holdingScreen(const std::optional<CGRect>& rect) {
    if (!rect) return {};
    const auto screen = screenForRect(*rect);
    if (!screen) return {};
    return {true, tlm_displayID(*screen)};
}

class AppWindowRestorer {
public:
    AppWindowRestorer(NSRunningApplication app, const AppRestoreContext& context)
        : app_(std::move(app))
        , ctx_(context)
        , bundleID_(context.bundleID)
        , n_(static_cast<int>(context.windows.size()))
        , isTerminal_(bundleID_ == kTerminal)
        , isVSCode_(bundleID_ == kVSCode)
        , opensByMenu_((bundleID_ == kVSCode || bundleID_ == kChrome) && n_ > 1) {}

    void run() {
        prepare();
        auto rows = ctx_.windows;
        if (ctx_.useNoCheatFallback)
            std::stable_sort(rows.begin(), rows.end(),
                             [](const WindowValue& a, const WindowValue& b) { return a.spaceID < b.spaceID; });
        for (const auto& row : rows)
            restoreRow(row);
    }

private:
    /// Replaces the window list with a fetch of at least `minCount` windows within `timeout`.
    void fetch(int minCount, double timeout) { ax_ = fetched(minCount, timeout); }

    std::vector<AXUIElement> fetched(int minCount, double timeout) const {
        if (isTerminal_) return fetchAXWindowsForBundleID(bundleID_, minCount, timeout);
        return fetchAXWindows(app_, minCount, timeout, bundleID_);
    }

    void activate() {
        if (isTerminal_) {
            activateAndWaitFrontmost(kTerminal, 1.0);
            return;
        }
        std::lock_guard guard(uiAutomationLock());
        app_.activate(platform::NSApplicationActivateIgnoringOtherApps);
    }

    /// Asks VSCode or Chrome for one more window: the menu item, else Command-N; VSCode also a new
    /// instance.
    void openByMenu() {
        if (!menuClickNewWindow(bundleID_)) attemptCmdNNewWindow(app_);
        if (isVSCode_) runShellOpenNewInstance(bundleID_);
    }

    void prepare() {
        if (ctx_.activateApps) {
            std::lock_guard guard(uiAutomationLock());
            app_.activate(platform::NSApplicationActivateIgnoringOtherApps);
        }
        const int minCount = std::max(n_, 1);
        fetch(minCount, ctx_.initialAXTimeout);
        if (ax_.empty() && !ctx_.activateApps) {
            activate();
            fetch(minCount, 6.0);
        }
        if (static_cast<int>(ax_.size()) >= n_) return;
        if (!ctx_.activateApps) activate();
        const std::string fewer = "Fewer AX windows (" + std::to_string(ax_.size()) + ") than needed (" +
                                  std::to_string(n_) + ") for " + bundleID_;
        const std::string missing = std::to_string(n_ - static_cast<int>(ax_.size()));
        if (opensByMenu_) {
            logLine("HINT", fewer + ". Attempting to open " + missing + " additional window(s)...");
            openByMenu();
            for (int i = 0; i < 50; ++i) {
                fetch(1, 0.2);
                if (static_cast<int>(ax_.size()) >= n_) break;
            }
            logLine("INFO", "After spawn attempt, AX window count for " + bundleID_ + " = " + std::to_string(ax_.size()));
        } else if (isTerminal_) {
            logLine("HINT", fewer + ". Attempting to open " + missing + " additional Terminal window(s)...");
            ensureTerminalWindows(static_cast<int>(ax_.size()), n_);
            fetch(n_, 8.0);
        }
    }

    void restoreRow(const WindowValue& row) {
        const std::string title = row.windowTitle.value_or("");
        const std::string named = bundleID_ + " ‘" + title + "’";

        // Enough windows for this row?
        const int used = static_cast<int>(tracker_.usedElements.size());
        if (static_cast<int>(ax_.size()) <= used && (!isTerminal_ || static_cast<int>(ax_.size()) < n_))
            fetch(1, 2.0);
        if (static_cast<int>(ax_.size()) - used < 1) {
            if (opensByMenu_) {
                openByMenu();
                fetch(1, 3.0);
            } else if (isTerminal_) {
                logLine("HINT", "Need " + std::to_string(std::max(n_ - used, 1)) +
                                    " more Terminal window(s) to finish restore. Attempting to open additional "
                                    "window(s)...");
                ensureTerminalWindows(static_cast<int>(ax_.size()), n_);
                fetch(n_, 6.0);
            }
        }

        const auto target = RestoreTarget::choose(row, ctx_, NSScreen::screens());
        if (!target) {
            logLine("WARN", "No screen available to restore " + named);
            return;
        }
        const auto targetID = tlm_displayID(target->screen);
        const CGRect visible = target->screen.visibleFrame();
        if (targetID)
            logLine("SCREEN", "Target screen for " + bundleID_ + " window '" + title + "': id=" +
                                  std::to_string(*targetID) + ", name=" + target->screen.localizedName() +
                                  " [reason=" + std::string(rawValue(target->reason)) + "]");
        logLine("DETAIL", "Target AppKit rect for " + bundleID_ + ": " + platform::NSStringFromRect(target->rect) +
                              " within destVis=" + platform::NSStringFromRect(visible));

        auto window = pickBestAXWindow(app_, ax_, tracker_, target->rect, target->screen, title, std::nullopt);
        for (int pass = 0; !window && pass < 5; ++pass) {
            auto more = fetched(1, 0.3);
            if (!more.empty()) ax_ = std::move(more);
            window = pickBestAXWindow(app_, ax_, tracker_, target->rect, target->screen, title, std::nullopt);
        }
        if (!window) {
            logLine("WARN", "No AX window available to assign for " + named);
            return;
        }

        platform::AXUIElementSetAttributeValue(*window, "AXMinimized", platform::CFValue(false));
        platform::AXUIElementSetAttributeValue(*window, kAXFullScreenAttribute, platform::CFValue(false));

        if (platform::UserDefaults::standard().boolForKey(settings::strictRestore.key)) {
            const auto now = holdingScreen(readAXRect(*window));
            if (!now.holds || now.displayID != targetID) {
                moveAXWindow(*window, centred(target->rect, visible), visible, false);
                platform::Thread::sleep(0.02);
            }
        }

        if (!moveAXWindow(*window, target->rect, visible, false)) {
            logLine("ERROR", "Failed to move window for " + named);
            return;
        }

        // Landed on another display: centre it on the target display, then place it again.
        if (const auto now = holdingScreen(readAXRect(*window)); now.holds && now.displayID != targetID) {
            moveAXWindow(*window, centred(target->rect, visible), visible, false);
            moveAXWindow(*window, target->rect, visible, false);
        }

        // Verify: up to two corrections of a frame still off by more than the tolerance.
        for (int correction = 0; correction < 2; ++correction) {
            const auto actual = readAXRect(*window);
            if (!actual || !differsBeyondTolerance(*actual, target->rect)) break;
            moveAXWindow(*window, target->rect, visible, false);
            platform::Thread::sleep(0.02);
        }

        if (row.spaceID > 0) returnToSpace(*window, row, target->rect, named);

        if (ctx_.raiseWindows) platform::AXUIElementPerformAction(*window, "AXRaise");

        logLine("RESULT", "RESULT for " + named + " => rect=" + target->rect.description() +
                              " on screen=" + target->screen.localizedName() +
                              " (id=" + std::to_string(targetID.value_or(0)) + ")");
    }

    /// After a failed window-server move: switch the desktop through a known anchor, else (only
    /// when `scriptFallback`) through the Mission Control keystroke.
    void fallBackAfterFailedMove(std::uint64_t spaceID, bool scriptFallback) {
        auto& session = *ctx_.logSession;
        const std::string space = std::to_string(spaceID);
        if (SpacesService::shared().hasAnyAnchor()) {
            SpacesService::shared().switchToSpace(spaceID, true);
            platform::Thread::sleep(0.12);
            return;
        }
        session.logOnce("noCheatUnavailable_" + space,
                        "Spaces(no-cheat) fallback unavailable: no known anchors yet (KnownSpaces=[]).", "WARN");
        if (scriptFallback && appleScriptSwitchToSpace(spaceID, spacesMover(), session, "fallback after move failure"))
            platform::Thread::sleep(0.2);
    }

    void returnToSpace(const AXUIElement& window, const WindowValue& row, const CGRect& rect,
                       const std::string& named) {
        auto& session = *ctx_.logSession;
        const auto spaceID = static_cast<std::uint64_t>(row.spaceID);
        const std::string space = std::to_string(spaceID);
        if (ctx_.useSkyLightMoves) {
            const auto number = axWindowNumber(window);
            if (number && *number > 0 && *number <= 0xFFFFFFFFll) {
                const auto id = static_cast<std::uint32_t>(*number);
                const std::string idText = std::to_string(id);
                session.logOnce("skyMove_" + idText + "_" + space,
                                "Spaces(SkyLight) move: windowID=" + idText + " => Space " + space + " for " + named,
                                "SPACE");
                if (!attemptSpaceMoveWithRetry(id, spaceID, "for " + named, session)) {
                    session.logOnce("skyMoveFail_" + idText + "_" + space,
                                    "Spaces(SkyLight) move failed — attempting no-cheat fallback for Space " + space +
                                        " (" + named + ").",
                                    "WARN");
                    fallBackAfterFailedMove(spaceID, true);
                }
                return;
            }
            // Without a number, find the window in the window list (top-left coordinates).
            const CGRect approx = platform::globalToTopLeft(readAXRect(window).value_or(rect));
            const auto resolved = resolveCGWindowIDForMove(app_.processIdentifier(), approx, row.windowTitle, 1.6);
            if (!resolved) {
                logLine("WARN", "Spaces(SkyLight) move skipped: missing AXWindowNumber and could not resolve "
                                "CGWindowID for " +
                                    named + " (targetSpace=" + space + ")");
                return;
            }
            const std::string idText = std::to_string(*resolved);
            session.logOnce("skyMove_resolved_" + idText + "_" + space,
                            "Spaces(SkyLight) move (resolved CGWindowID): windowID=" + idText + " => Space " + space +
                                " for " + named,
                            "SPACE");
            if (!attemptSpaceMoveWithRetry(*resolved, spaceID, "for " + named + " (resolved CGWindowID)", session)) {
                session.logOnce("skyMoveFail_resolved_" + idText + "_" + space,
                                "Spaces(SkyLight) move failed (resolved CGWindowID) — attempting no-cheat fallback "
                                "for Space " +
                                    space + " (" + named + ").",
                                "WARN");
                fallBackAfterFailedMove(spaceID, false);
            }
            return;
        }
        if (ctx_.useNoCheatFallback && row.spaceID != lastSwitchedSpaceID_) {
            lastSwitchedSpaceID_ = row.spaceID;
            session.logOnce("noCheatSwitch_" + space + "_" + bundleID_,
                            "Spaces(no-cheat) switching to Space " + space + " for " + bundleID_ + " group…", "SPACE");
            SpacesService::shared().switchToSpace(spaceID, true);
            platform::Thread::sleep(0.14);
        }
    }

    NSRunningApplication app_;
    const AppRestoreContext& ctx_;
    std::string bundleID_;
    int n_;
    bool isTerminal_;
    bool isVSCode_;
    /// VSCode or Chrome with more than one row: missing windows come from the menu.
    bool opensByMenu_;
    std::vector<AXUIElement> ax_;
    AXWindowTracker tracker_;
    std::int64_t lastSwitchedSpaceID_ = -1;
};

} // namespace

void restoreAppWindows(std::optional<NSRunningApplication> app, const AppRestoreContext& context) {
    GroupExit exit(context.group);
    try {
        print("");
        logLine("RESTORE", "Restoring " + std::to_string(context.windows.size()) + " window(s) for " + context.bundleID);
        if (!app) app = waitForRunningApp(context.bundleID, 2.0);
        if (!app) {
            logLine("ERROR", "App not running for restore: " + context.bundleID);
            context.failed->append(context.bundleID);
            return;
        }
        AppWindowRestorer(*app, context).run();
        print("");
    } catch (const std::exception& error) {
        logLine("ERROR", "Restore of " + context.bundleID + " stopped: " + error.what());
    }
}

} // namespace tilmora::WindowManager
