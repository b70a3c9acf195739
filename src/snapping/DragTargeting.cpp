#include "snapping/DragTargeting.hpp"

#include "model/NotificationManager.hpp"
#include "model/Settings.hpp"
#include "platform/desktop/NSGeometry.hpp"
#include "platform/dispatch/MediaTime.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/input/NSEvent.hpp"
#include "snapping/DragSession.hpp"
#include "snapping/GapSettings.hpp"
#include "snapping/GridLayout.hpp"
#include "snapping/GridWindowMover.hpp"
#include "snapping/OverlayLifecycle.hpp"
#include "snapping/OverlayWindow.hpp"
#include "snapping/RectMath.hpp"
#include "snapping/RectSelection.hpp"
#include "snapping/SnapDefaults.hpp"
#include "snapping/SnapKindGeometry.hpp"
#include "snapping/SnapLog.hpp"
#include "snapping/SnapScreens.hpp"
#include "snapping/SnapSwitches.hpp"
#include "snapping/TLog.hpp"
#include "snapping/TargetWindow.hpp"
#include "windows/GeometryBridge.hpp"
#include "windows/ScreenIdentity.hpp"

#include <algorithm>
#include <string>
#include <vector>

namespace tilmora {

namespace {

double overlapArea(const Rect& a, const Rect& b) {
    const double width = std::min(RectMath::maxX(a), RectMath::maxX(b)) - std::max(a.x, b.x);
    const double height = std::min(RectMath::maxY(a), RectMath::maxY(b)) - std::max(a.y, b.y);
    return std::max(width, 0.0) * std::max(height, 0.0);
}

/// Whether `rect` contains `p`, edges included.
bool containsInclusive(const Rect& rect, const platform::CGPoint& p) {
    return p.x >= rect.x && p.x <= RectMath::maxX(rect) && p.y >= rect.y && p.y <= RectMath::maxY(rect);
}

std::string rectText(const Rect& rect) {
    return platform::NSStringFromRect(toCGRect(rect));
}

} // namespace

DragTargeting::DragTargeting(const OverlayLifecycle& overlays, const RectSelection& selection,
                             const SnapSwitches& switches, GridWindowMover& mover)
    : overlays_(overlays)
    , selection_(selection)
    , switches_(switches)
    , mover_(mover) {}

void DragTargeting::forgetTiles() {
    tiles_.lastTileForScreen.clear();
    tiles_.lastAppliedTileForScreen.clear();
    tiles_.lastToastTileForScreen.clear();
    tiles_.lastTileChangeAtByScreen.clear();
}

std::optional<GridPreset> DragTargeting::usablePreset(std::uint32_t display) const {
    if (auto found = overlays_.transientPreset(display)) return found;
    if (auto found = overlays_.activePreset(display)) return found;
    if (selection_.kindForDisplay(display)) return GridPreset(1, 1, 0, 0);
    return std::nullopt;
}

std::optional<Rect> DragTargeting::tileContaining(const std::vector<Rect>& tiles,
                                                  const platform::CGPoint& p) {
    for (const auto& tile : tiles) {
        if (containsInclusive(tile, p)) return tile;
    }
    return std::nullopt;
}

DragTargeting::TileHit DragTargeting::tileUnderDrag(bool assumeTileSize, const Rect& windowRect,
                                                    const std::vector<Rect>& tiles) {
    TileHit hit;
    hit.point = assumeTileSize ? platform::NSEvent::mouseLocation()
                               : platform::CGPoint{RectMath::midX(windowRect), RectMath::midY(windowRect)};
    hit.tile = tileContaining(tiles, hit.point);
    if (!hit.tile) hit.tile = GridLayout::pickSnapTile(windowRect, tiles, pickThreshold);
    return hit;
}

std::optional<DragTargeting::Target> DragTargeting::bestOverlay(const Rect& windowRect) const {
    if (auto pointer = DragSession::pointerScreen()) {
        const auto display = tlm_displayID(*pointer);
        if (display && overlays_.hasOverlay(*display)) {
            if (auto preset = usablePreset(*display)) return Target{*display, *pointer, *preset};
        }
    }

    std::optional<Target> best;
    double bestArea = 0;
    for (const auto& screen : platform::NSScreen::screens()) {
        const auto number = screenNumberValue(screen);
        if (!number || !overlays_.hasOverlay(*number)) continue;
        const auto preset = usablePreset(*number);
        if (!preset) continue;
        const double area = overlapArea(windowRect, toRect(screen.visibleFrame()));
        if (!best || area > bestArea) {
            best = Target{*number, screen, *preset};
            bestArea = area;
        }
    }
    if (best) return best;

    const bool anySelection =
        selection_.any() || !overlays_.activePresets().empty() || !overlays_.transientPresets().empty();
    if (!anySelection) return std::nullopt;
    if (SnapDefaults::overlayDebug()) {
        std::string overlays = "[";
        for (const auto& [display, overlay] : overlays_.overlays()) {
            (void)overlay;
            if (overlays.size() > 1) overlays += ", ";
            overlays += std::to_string(display);
        }
        overlays += "]";
        auto keys = [](const std::map<std::uint32_t, GridPreset>& map) {
            std::string text = "[";
            for (const auto& [display, preset] : map) {
                (void)preset;
                if (text.size() > 1) text += ", ";
                text += std::to_string(display);
            }
            return text + "]";
        };
        SnapLog::olog(std::string("bestOverlay fallback: selectedKind=") +
                      (selection_.selectedKind() ? "true" : "false") +
                      " activePresets=" + keys(overlays_.activePresets()) +
                      " transient=" + keys(overlays_.transientPresets()) + " overlays=" + overlays);
    }
    // The lowest display number with an overlay (the map is ordered).
    if (overlays_.overlays().empty()) return std::nullopt;
    const std::uint32_t first = overlays_.overlays().begin()->first;
    for (const auto& screen : platform::NSScreen::screens()) {
        if (screenNumberValue(screen) != first) continue;
        if (auto preset = usablePreset(first)) return Target{first, screen, *preset};
        return std::nullopt;
    }
    return std::nullopt;
}

namespace {

/// The debug read-out of a highlighted tile on `overlay`: the window's outline, the hit point and
/// a text with the scale, the hit point, the tile's row and column in `tiles`, the tile, the window
/// and the window's offsets from the tile's edges (global coordinates).
void showDebugReadOut(OverlayWindow& overlay, const platform::NSScreen& screen, const Rect& tile,
                      const std::vector<Rect>& tiles, std::int64_t cols, platform::CGPoint p, const Rect& w) {
    const auto index = GridLayout::rowCol(tile, tiles, cols);
    const std::string indexText =
        index ? "r" + std::to_string(index->row) + ",c" + std::to_string(index->col) : std::string("--");
    const std::string text = platform::Text::format(
        "Scale: %.2f\nCenter: (%.1f, %.1f)\nTile Index: %@\nTile: %@\nWindow: %@\nOffsets: L %.1f  B %.1f  R "
        "%.1f  T %.1f",
        {screen.backingScaleFactor(), p.x, p.y, indexText, rectText(tile), rectText(w), w.x - tile.x,
         w.y - tile.y, (tile.x + tile.width) - (w.x + w.width), (tile.y + tile.height) - (w.y + w.height)});
    overlay.showDebug(w, p, text);
}

} // namespace

void DragTargeting::highlight(bool thresholdExceeded, const Target& target, OverlayWindow& overlay,
                              const Rect& windowRect) {
    Tiles& tracked = tiles_;
    const auto sid = target.sid;
    const auto& screen = target.screen;
    const double now = platform::mediaTime();

    if (auto kind = selection_.kindForDisplay(sid)) {
        const Rect tile = SnapKindGeometry::rectForVisible(*kind, SnapScreens::adjustedVisibleFrame(screen),
                                                           GapSettings::current());
        TLog::log("TILING", "Highlight rect preset=" + std::string(caseName(*kind)) + " on " +
                                screen.localizedName() + " tile=" + rectText(tile));
        overlay.setHighlight(tile);
        if (overlays_.debugEnabled())
            showDebugReadOut(overlay, screen, tile, {tile}, target.preset.cols,
                             platform::NSEvent::mouseLocation(), windowRect);
        if (thresholdExceeded) applyLiveResizeIfNeeded(windowRect, tile, screen, target.preset, sid);
        tracked.lastTileForScreen[sid] = tile;
        tracked.lastTileChangeAtByScreen[sid] = now;
        return;
    }

    const auto tiles = overlays_.tiles(screen, target.preset);
    const auto [p, candidate] = tileUnderDrag(switches_.dragAssumeTileSize, windowRect, tiles);
    if (!candidate) {
        TLog::log("TILING", "No candidate tile for rect=" + rectText(windowRect) + " on " +
                                screen.localizedName() + "; clearing highlight");
        overlay.hideHighlight();
        if (overlays_.debugEnabled()) overlay.clearDebug();
        return;
    }

    const auto last = tracked.lastTileForScreen.find(sid);
    if (last != tracked.lastTileForScreen.end()) {
        const Rect& old = last->second;
        const Rect grown{old.x - hysteresis, old.y - hysteresis, old.width + 2 * hysteresis,
                         old.height + 2 * hysteresis};
        const auto changedAt = tracked.lastTileChangeAtByScreen.find(sid);
        const bool debouncing =
            changedAt != tracked.lastTileChangeAtByScreen.end() && now - changedAt->second < debounceSeconds;
        if (old == *candidate || containsInclusive(grown, p) || debouncing) {
            const Rect kept = old;
            overlay.setHighlight(kept);
            if (overlays_.debugEnabled())
                showDebugReadOut(overlay, screen, kept, tiles, target.preset.cols, p, windowRect);
            applyLiveResizeIfNeeded(windowRect, kept, screen, target.preset, sid);
            return;
        }
    }

    tracked.lastTileForScreen[sid] = *candidate;
    tracked.lastTileChangeAtByScreen[sid] = now;
    TLog::log("TILING", "Highlight tile on " + screen.localizedName() + " sid=" + std::to_string(sid) +
                            " tile=" + rectText(*candidate));
    overlay.setHighlight(*candidate);
    if (overlays_.debugEnabled())
        showDebugReadOut(overlay, screen, *candidate, tiles, target.preset.cols, p, windowRect);
    if (thresholdExceeded) applyLiveResizeIfNeeded(windowRect, *candidate, screen, target.preset, sid);
}

void DragTargeting::applyLiveResizeIfNeeded(const Rect& windowRect, const Rect& tile,
                                            const platform::NSScreen& screen, const GridPreset& preset,
                                            std::uint32_t sid) {
    Tiles& tracked = tiles_;
    if (!switches_.liveResizeDuringDrag) return;
    const double now = platform::mediaTime();
    if (now - tracked.lastLiveResizeAt < liveResizeSpacing) return;
    if (auto applied = tracked.lastAppliedTileForScreen.find(sid);
        applied != tracked.lastAppliedTileForScreen.end() && applied->second == tile)
        return;
    const double scale = screen.backingScaleFactor();
    const Rect size =
        SnapKindGeometry::alignRectToPixelEdges(GridLayout::insetByPadding(tile, preset.padding), scale);
    const auto minimum = TargetWindow::frontmostAppMinSize();
    const bool tooSmall =
        size.width + sizeTolerance < minimum.width || size.height + sizeTolerance < minimum.height;
    auto toasted = tracked.lastToastTileForScreen.find(sid);
    if (tooSmall && (toasted == tracked.lastToastTileForScreen.end() || !(toasted->second == tile))) {
        if (const auto overlay = overlays_.overlay(sid)) {
            overlay->showToast(minimumSizeMessage);
        } else {
            NotificationManager::shared().show("RoriDeru", minimumSizeMessage, 2.5);
        }
        tracked.lastToastTileForScreen[sid] = tile;
    }
    const Rect centred{RectMath::midX(windowRect) - size.width / 2,
                       RectMath::midY(windowRect) - size.height / 2, size.width, size.height};
    const Rect placed = SnapKindGeometry::clamp(SnapKindGeometry::alignRectToPixelEdges(centred, scale),
                                                toRect(screen.visibleFrame()));
    mover_.moveFrontmostAXWindow(placed);
    tracked.lastAppliedTileForScreen[sid] = tile;
    tracked.lastLiveResizeAt = now;
}

} // namespace tilmora
