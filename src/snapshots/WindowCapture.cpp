#include "snapshots/WindowCapture.hpp"

#include "model/Settings.hpp"

#include "windows/AXWindowReader.hpp"
#include "windows/CGWindowIndex.hpp"
#include "windows/ScreenIdentity.hpp"
#include "windows/SpacesMover.hpp"
#include "windows/WindowManager.hpp"

#include "platform/desktop/Accessibility.hpp"
#include "platform/desktop/CoordinateSpace.hpp"
#include "platform/desktop/NSRunningApplication.hpp"
#include "platform/desktop/NSWorkspace.hpp"
#include "platform/foundation/Bundle.hpp"
#include "platform/foundation/UserDefaults.hpp"

#include <cmath>
#include <cstdio>
#include <limits>
#include <unordered_set>

namespace tilmora::WindowManager {

namespace {

constexpr double minimumSide = 80;
constexpr double clipTolerance = 0.5;

/// "{{x, y}, {w, h}}" with each value rounded to a whole number, as the clip warning shows rects.
std::string rectText(const platform::CGRect& r) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "{{%.0f, %.0f}, {%.0f, %.0f}}", r.origin.x, r.origin.y, r.size.width,
                  r.size.height);
    return buffer;
}

/// A value rounded half away from zero, in decimal (0 for a value that is not finite).
std::string roundedText(double value) {
    const double r = std::round(value);
    if (!std::isfinite(r)) return "0";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.0f", r == 0 ? 0.0 : r);
    return buffer;
}

/// Whether "AXMinimized" reads as true: a Boolean true or a non-zero number. A failed read or a
/// value of another type counts as not minimized.
bool isMinimized(const platform::AXUIElement& window) {
    platform::CFValue value;
    if (platform::AXUIElementCopyAttributeValue(window, "AXMinimized", value) != platform::kAXErrorSuccess)
        return false;
    if (const bool* b = value.asBool()) return *b;
    if (value.isNumber()) {
        const auto d = value.doubleValue();
        return d && *d != 0;
    }
    return false;
}

/// The Space of a window with a known number, when snapshots cover all Spaces: the window
/// server's answer when it is a non-zero 32-bit value; without an answer, the current Space when
/// the window is on screen; else 0.
std::int32_t spaceOf(std::int64_t windowNumber) {
    const auto answer = spacesMover().primarySpaceID(static_cast<std::uint32_t>(windowNumber));
    if (answer && *answer != 0)
        return *answer <= static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())
                   ? static_cast<std::int32_t>(*answer)
                   : 0;
    if (cgWindowIsOnscreen(windowNumber)) return currentWorkspaceID().value_or(0);
    return 0;
}

struct Counters {
    int raw = 0, kept = 0, dup = 0, offscreen = 0, small = 0, clipped = 0, missing = 0;
};

} // namespace

std::set<std::string> effectiveExcludedBundles() {
    std::set<std::string> result = excludedBundleIdentifiers;
    if (settings::read(settings::excludeDevApps))
        result.insert({"com.apple.dt.Xcode", "com.microsoft.VSCode", "com.microsoft.VSCodeInsiders"});
    return result;
}

std::int64_t capturedWindowNumber(std::optional<std::uint32_t> windowServerMatch, std::int64_t axNumber) {
    if (windowServerMatch) return *windowServerMatch;
    if (axNumber < 1 || axNumber > std::numeric_limits<std::int32_t>::max()) return 0;
    return axNumber;
}

std::vector<WindowDetail> captureCurrentWindows(bool includeExcluded, bool includeMinimized) {
    const bool allSpaces = platform::UserDefaults::standard().boolForKey(settings::snapshotAllSpaces.key);
    const std::size_t workspaces = detectWorkspaceIDs().size();

    std::set<std::string> excluded{"com.apple.dock"};
    if (!includeExcluded) excluded.merge(effectiveExcludedBundles());
    const auto ownBundle = platform::Bundle::main().bundleIdentifier();
    const CGWindowIndex index = buildCGWindowIndex();

    std::unordered_set<std::int64_t> numbersSeen;
    std::unordered_set<std::string> clipKeysSeen;
    std::unordered_set<std::string> geometryKeysSeen;
    Counters count;
    std::vector<WindowDetail> details;

    for (const auto& app : platform::NSWorkspace::shared().runningApplications()) {
        const auto bundle = app.bundleIdentifier();
        if (!bundle) continue;
        if (ownBundle && *bundle == *ownBundle) continue;
        if (excluded.count(*bundle)) continue;
        if (app.activationPolicy() != platform::NSApplicationActivationPolicy::regular || app.isTerminated())
            continue;

        const auto fetched = fetchAXWindows(app, 0, 0, bundle);
        count.raw += static_cast<int>(fetched.size());
        const auto windows = uniqueAXWindowsByNumber(fetched);
        if (windows.empty()) continue;

        const std::int32_t pid = app.processIdentifier();
        const std::string appName = app.localizedName().value_or(*bundle);

        for (const auto& window : windows) {
            if (!includeMinimized && isMinimized(window)) continue;

            const auto frame = readAXRect(window);
            if (!frame) {
                ++count.missing;
                continue;
            }
            if (frame->width() < minimumSide || frame->height() < minimumSide) {
                ++count.small;
                continue;
            }
            const auto screen = screenForRect(*frame);
            if (!screen) {
                ++count.offscreen;
                continue;
            }
            const auto displayID = tlm_displayID(*screen);
            if (!displayID) {
                ++count.offscreen;
                continue;
            }
            const platform::CGRect visible = screen->visibleFrame();
            const platform::CGRect clipped = frame->intersection(visible);
            if (clipped.isNull() || clipped.isEmpty()) {
                ++count.offscreen;
                continue;
            }

            const std::string title = readAXTitle(window).value_or("");
            const std::int64_t axNumber = axWindowNumber(window).value_or(0);
            // The window list's matcher works in its own top-left coordinates.
            const auto match =
                resolveCGWindowID(axNumber, pid, platform::globalToTopLeft(clipped), title, index);
            const std::int64_t windowNumber = capturedWindowNumber(match, axNumber);

            if (windowNumber != 0 && !numbersSeen.insert(windowNumber).second) {
                ++count.dup;
                continue;
            }

            if (std::abs(frame->origin.x - clipped.origin.x) > clipTolerance ||
                std::abs(frame->origin.y - clipped.origin.y) > clipTolerance ||
                std::abs(frame->width() - clipped.width()) > clipTolerance ||
                std::abs(frame->height() - clipped.height()) > clipTolerance) {
                const std::string clipKey = *bundle + "|" + std::to_string(windowNumber) + "|" + title;
                if (clipKeysSeen.insert(clipKey).second) {
                    ++count.clipped;
                    logLine("WARN",
                            "[SAVE][WARN] Window spans beyond capture bounds; clipping to assigned screen. "
                            "bundle=" +
                                *bundle + " win=" + std::to_string(windowNumber) + " title='" + title +
                                "' rect=" + rectText(*frame) + " used=" + rectText(clipped) +
                                " captureBounds=" + rectText(visible));
                }
            }

            const std::int32_t spaceID = allSpaces && windowNumber != 0 ? spaceOf(windowNumber) : 0;

            const double x = clipped.minX() - visible.minX();
            const double y = visible.maxY() - clipped.maxY();
            const std::string geometryKey = *bundle + "|" + std::to_string(*displayID) + "|" +
                                            std::to_string(spaceID) + "|" + roundedText(x) + "," +
                                            roundedText(y) + "," + roundedText(clipped.width()) + "," +
                                            roundedText(clipped.height()) + "|" + title;
            if (!geometryKeysSeen.insert(geometryKey).second) {
                ++count.dup;
                continue;
            }

            WindowDetail detail;
            detail.appName = appName;
            detail.bundleIdentifier = *bundle;
            detail.windowTitle = title;
            detail.windowNumber = windowNumber;
            detail.xPosition = x;
            detail.yPosition = y;
            detail.width = clipped.width();
            detail.height = clipped.height();
            detail.screenID = *displayID;
            detail.originalScreenWidth = visible.width();
            detail.originalScreenHeight = visible.height();
            detail.originalScreenOriginX = visible.origin.x;
            detail.originalScreenOriginY = visible.origin.y;
            detail.processID = pid;
            detail.spaceID = spaceID;
            details.push_back(std::move(detail));
            ++count.kept;
        }
    }

    logLine("INFO", std::string("[SAVE] captureCurrentWindows(allSpaces=") + (allSpaces ? "true" : "false") +
                        ") workspaces=" + std::to_string(workspaces) + " raw=" + std::to_string(count.raw) +
                        " kept=" + std::to_string(count.kept) + " dup=" + std::to_string(count.dup) +
                        " offscreen=" + std::to_string(count.offscreen) + " small=" +
                        std::to_string(count.small) + " clipped=" + std::to_string(count.clipped) +
                        " desk=0 missing=" + std::to_string(count.missing));
    return details;
}

} // namespace tilmora::WindowManager
