#include "snapping/GridWindowMover.hpp"

#include "model/Log.hpp"
#include "model/NotificationManager.hpp"
#include "platform/desktop/AXValue.hpp"
#include "platform/desktop/Accessibility.hpp"
#include "platform/desktop/CoordinateSpace.hpp"
#include "platform/desktop/NSAppleScript.hpp"
#include "platform/desktop/NSGeometry.hpp"
#include "platform/desktop/NSWorkspace.hpp"
#include "platform/dispatch/Thread.hpp"
#include "snapping/GridLayout.hpp"
#include "snapping/OverlayLifecycle.hpp"
#include "snapping/SnapKindGeometry.hpp"
#include "snapping/SnapScreens.hpp"
#include "snapping/TLog.hpp"
#include "snapping/TargetWindow.hpp"
#include "windows/AXAttributeNames.hpp"
#include "windows/GeometryBridge.hpp"
#include "windows/ScreenIdentity.hpp"

#include <algorithm>
#include <cmath>
#include <optional>

namespace tilmora {

namespace {

using platform::AXUIElement;
using platform::AXValue;
using platform::CFValue;

/// Seconds between the two writes of an attempt, and between those of the correction.
constexpr double kWriteGap = 0.020;
constexpr double kCorrectionGap = 0.015;
constexpr int kAttempts = 4;

const char* const kFullScreenKeystroke =
    "tell application \"System Events\" to keystroke \"f\" using {control down, command down}";

bool isFinite(const Rect& r) {
    return std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.width) && std::isfinite(r.height);
}

bool set(const AXUIElement& window, const char* attribute, const CFValue& value) {
    return platform::AXUIElementSetAttributeValue(window, attribute, value) == platform::kAXErrorSuccess;
}

/// The Accessibility values of a global frame: its top-left corner against the main display, and
/// its size. None when either cannot be made.
std::optional<std::pair<AXValue, AXValue>> valuesFor(const Rect& r) {
    const double mainHeight = platform::mainDisplayHeight();
    const auto position = platform::AXValueCreate(platform::CGPoint{r.x, mainHeight - (r.y + r.height)});
    const auto size = platform::AXValueCreate(platform::CGSize{r.width, r.height});
    if (!position || !size) return std::nullopt;
    return std::make_pair(*position, *size);
}

/// `target` enlarged about its centre, keeping its aspect, until it is at least `min` in both
/// directions (one side may end above its minimum); unchanged when it is large enough.
Rect enlarged(const Rect& target, platform::CGSize min, bool& didEnlarge) {
    didEnlarge = false;
    if (!(target.width < min.width || target.height < min.height)) return target;
    const double sx = min.width / std::max(target.width, 1.0);
    const double sy = target.height < 1 ? min.height : min.height / target.height;
    const double s = sx > sy ? sx : sy;
    const double midX = target.x + target.width / 2, midY = target.y + target.height / 2;
    const double w = target.width * s, h = target.height * s;
    didEnlarge = true;
    return {midX - w / 2, midY - h / 2, w, h};
}

/// Whether `actual` is farther than the tolerance from `wanted` on the origin or the size.
bool needsCorrection(const Rect& wanted, const Rect& actual) {
    const double dx = wanted.x - actual.x;
    const double dy = wanted.y - actual.y;
    const double dw = ((wanted.x + wanted.width) - (actual.x + actual.width)) - dx;
    const double dh = ((wanted.y + wanted.height) - (actual.y + actual.height)) - dy;
    constexpr double tolerance = GridWindowMover::correctionTolerance;
    return std::abs(dx) > tolerance || std::abs(dy) > tolerance || std::abs(dw) > tolerance ||
           std::abs(dh) > tolerance;
}

} // namespace

void GridWindowMover::showMinimumSizeMessage(const platform::NSScreen& screen) const {
    if (const auto display = tlm_displayID(screen)) {
        if (const auto overlay = overlays_.overlay(*display)) {
            overlay->showToast(minimumSizeMessage);
            return;
        }
    }
    NotificationManager::shared().show(minimumSizeTitle, minimumSizeMessage, minimumSizeSeconds);
}

void GridWindowMover::moveFrontmostAXWindow(const Rect& target) {
    if (!isFinite(target)) {
        print("[RoriDeru] Ignoring move to a frame that is not finite: " +
              platform::NSStringFromRect(toCGRect(target)));
        return;
    }
    const auto app = TargetWindow::targetApplication(applications_);
    if (!app) return;
    if (!platform::AXIsProcessTrustedWithOptions({{platform::kAXTrustedCheckOptionPrompt, CFValue(true)}}))
        return;

    bool didEnlarge = false;
    Rect frame = enlarged(target, TargetWindow::minSize(app->bundleIdentifier().value_or("")), didEnlarge);

    if (const auto screen = SnapScreens::screenForRect(frame)) {
        frame = SnapKindGeometry::alignRectToPixelEdges(frame, screen->backingScaleFactor());
        frame = SnapKindGeometry::clamp(frame, toRect(screen->visibleFrame()));
        if (didEnlarge) showMinimumSizeMessage(*screen);
    }

    const auto window =
        TargetWindow::findAXWindow(platform::AXUIElementCreateApplication(app->processIdentifier()));
    if (!window) {
        print("[RoriDeru] No movable AX window found for app pid=" +
              std::to_string(app->processIdentifier()));
        return;
    }

    set(*window, "AXMinimized", CFValue(false));
    set(*window, kAXFullScreenAttribute, CFValue(false));

    const auto values = valuesFor(frame);
    if (!values) return;
    const CFValue position(values->first), size(values->second);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const bool sizeFirst = attempt % 2 == 0;
        const bool first = set(*window, sizeFirst ? "AXSize" : "AXPosition", sizeFirst ? size : position);
        platform::Thread::sleep(kWriteGap);
        const bool second = set(*window, sizeFirst ? "AXPosition" : "AXSize", sizeFirst ? position : size);
        if (first && second) break;
    }

    if (const auto landed = TargetWindow::frame(*window); landed && needsCorrection(frame, *landed)) {
        if (const auto fresh = valuesFor(frame)) {
            set(*window, "AXSize", CFValue(fresh->second));
            platform::Thread::sleep(kCorrectionGap);
            set(*window, "AXPosition", CFValue(fresh->first));
        }
    }

    platform::AXUIElementPerformAction(*window, "AXRaise");

    if (const auto final = TargetWindow::frame(*window))
        print("[RoriDeru] Moved window -> " + platform::NSStringFromRect(toCGRect(*final)) + ")");
}

bool GridWindowMover::enterNativeFullScreen() {
    const auto app = platform::NSWorkspace::shared().frontmostApplication();
    if (!app) return false;
    if (!platform::AXIsProcessTrusted())
        platform::AXIsProcessTrustedWithOptions({{platform::kAXTrustedCheckOptionPrompt, CFValue(true)}});
    if (const auto window =
            TargetWindow::findAXWindow(platform::AXUIElementCreateApplication(app->processIdentifier()))) {
        if (set(*window, kAXFullScreenAttribute, CFValue(true))) return true;
    }
    auto script = platform::NSAppleScript::create(kFullScreenKeystroke);
    if (!script) return false;
    std::optional<platform::CFDictionary> error;
    script->executeAndReturnError(error);
    return !error;
}

void GridWindowMover::snapFrontmost(std::int64_t row, std::int64_t col, const platform::NSScreen& screen,
                                    const GridPreset& preset) {
    const std::int64_t rows = std::max<std::int64_t>(preset.rows, 1);
    const std::int64_t cols = std::max<std::int64_t>(preset.cols, 1);
    const std::int64_t r = std::max<std::int64_t>(std::min<std::int64_t>(row, preset.rows), 1);
    const std::int64_t c = std::max<std::int64_t>(std::min<std::int64_t>(col, preset.cols), 1);
    const auto metrics = GridLayout::metrics(toRect(screen.visibleFrame()), rows, cols, preset.gutter,
                                             std::max(screen.backingScaleFactor(), 1.0));
    // An absurd preset is laid out as the fallback grid, which may have fewer cells: take its last.
    const auto ri = std::min(static_cast<std::size_t>(r - 1), metrics.rowYs.size() - 1);
    const auto ci = std::min(static_cast<std::size_t>(c - 1), metrics.colXs.size() - 1);
    const Rect cell = GridLayout::insetByPadding(
        {metrics.colXs[ci], metrics.rowYs[ri], metrics.colWidths[ci], metrics.rowHeights[ri]},
        preset.padding);
    const Rect rect = SnapKindGeometry::alignRectToPixelEdges(cell, screen.backingScaleFactor());
    TLog::log("TILING", "Snap explicit on " + screen.localizedName() +
                            " (id=" + std::to_string(tlm_displayID(screen).value_or(0)) +
                            ") row=" + std::to_string(row) + " col=" + std::to_string(col) +
                            " tile=" + platform::NSStringFromRect(toCGRect(rect)));
    moveFrontmostAXWindow(rect);
}

} // namespace tilmora
