#include "snapping/DragTargeting.hpp"

#include "model/NotificationManager.hpp"
#include "model/Settings.hpp"
#include "platform/desktop/NSGeometry.hpp"
#include "platform/dispatch/MediaTime.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/input/NSEvent.hpp"
#include "snapping/DragSession.hpp"
#include "snapping/OverlayWindow.hpp"
#include "snapping/RectMath.hpp"
#include "snapping/RoriDeru.hpp"
#include "snapping/SnapDefaults.hpp"
#include "snapping/SnapLog.hpp"
#include "snapping/TLog.hpp"
#include "windows/GeometryBridge.hpp"
#include "windows/ScreenIdentity.hpp"

#include <algorithm>
#include <string>
#include <vector>

namespace tilmora::DragTargeting {

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

std::optional<GridPreset> usablePreset(const RoriDeru& grid, std::uint32_t display) {
    if (auto found = grid.transientPresets.find(display); found != grid.transientPresets.end())
        return found->second;
    if (auto found = grid.activePresets.find(display); found != grid.activePresets.end())
        return found->second;
    if (grid.rectSelection().kindForDisplay(display)) return GridPreset(1, 1, 0, 0);
    return std::nullopt;
}


std::optional<Rect> tileContaining(const std::vector<Rect>& tiles, const platform::CGPoint& p) {
    for (const auto& tile : tiles) {
        if (containsInclusive(tile, p)) return tile;
    }
    return std::nullopt;
}

TileHit tileUnderDrag(bool assumeTileSize, const Rect& windowRect, const std::vector<Rect>& tiles) {
    TileHit hit;
    hit.point = assumeTileSize ? platform::NSEvent::mouseLocation()
                               : platform::CGPoint{RectMath::midX(windowRect), RectMath::midY(windowRect)};
    hit.tile = tileContaining(tiles, hit.point);
    if (!hit.tile) hit.tile = GridLayout::pickSnapTile(windowRect, tiles, pickThreshold);
    return hit;
}

std::optional<Target> bestOverlay(RoriDeru& grid, const Rect& windowRect) {
    if (auto pointer = DragSession::pointerScreen()) {
        const auto display = tlm_displayID(*pointer);
        if (display && grid.overlays.count(*display) > 0) {
            if (auto preset = usablePreset(grid, *display)) return Target{*display, *pointer, *preset};
        }
    }

    std::optional<Target> best;
    double bestArea = 0;
    for (const auto& screen : platform::NSScreen::screens()) {
        const auto number = screenNumberValue(screen);
        if (!number || grid.overlays.count(*number) == 0) continue;
        const auto preset = usablePreset(grid, *number);
        if (!preset) continue;
        const double area = overlapArea(windowRect, toRect(screen.visibleFrame()));
        if (!best || area > bestArea) {
            best = Target{*number, screen, *preset};
            bestArea = area;
        }
    }
    if (best) return best;

    const bool anySelection =
        grid.rectSelection().any() || !grid.activePresets.empty() || !grid.transientPresets.empty();
    if (!anySelection) return std::nullopt;
    if (SnapDefaults::flag(settings::overlayDebug.key, false)) {
        std::string overlays = "[";
        for (const auto& [display, overlay] : grid.overlays) {
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
        RoriDeru::olog(std::string("bestOverlay fallback: selectedKind=") +
                       (grid.selectedKind() ? "true" : "false") +
                       " activePresets=" + keys(grid.activePresets) +
                       " transient=" + keys(grid.transientPresets) + " overlays=" + overlays);
    }
    // The lowest display number with an overlay (the map is ordered).
    if (grid.overlays.empty()) return std::nullopt;
    const std::uint32_t first = grid.overlays.begin()->first;
    for (const auto& screen : platform::NSScreen::screens()) {
        if (screenNumberValue(screen) != first) continue;
        if (auto preset = usablePreset(grid, first)) return Target{first, screen, *preset};
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
    const auto index = RoriDeru::rowCol(tile, tiles, cols);
    const std::string indexText =
        index ? "r" + std::to_string(index->row) + ",c" + std::to_string(index->col) : std::string("--");
    const std::string text = platform::Text::format(
        "Scale: %.2f\nCenter: (%.1f, %.1f)\nTile Index: %@\nTile: %@\nWindow: %@\nOffsets: L %.1f  B %.1f  R %.1f  T %.1f",
        {screen.backingScaleFactor(), p.x, p.y, indexText, rectText(tile), rectText(w), w.x - tile.x, w.y - tile.y,
         (tile.x + tile.width) - (w.x + w.width), (tile.y + tile.height) - (w.y + w.height)});
    overlay.showDebug(w, p, text);
}

} // namespace

void highlight(RoriDeru& grid, DragSession::Tiles& tracked, bool thresholdExceeded, const Target& target,
               OverlayWindow& overlay, const Rect& windowRect) {
    const auto sid = target.sid;
    const auto& screen = target.screen;
    const double now = platform::mediaTime();

    if (auto kind = grid.rectSelection().kindForDisplay(sid)) {
        const Rect tile = grid.computeRectForVisible(*kind, grid.adjustedVisibleFrame(screen));
        TLog::log("TILING", "Highlight rect preset=" + std::string(caseName(*kind)) + " on " +
                                screen.localizedName() + " tile=" + rectText(tile));
        overlay.setHighlight(tile);
        if (grid.debugEnabled)
            showDebugReadOut(overlay, screen, tile, {tile}, target.preset.cols, platform::NSEvent::mouseLocation(),
                             windowRect);
        if (thresholdExceeded)
            applyLiveResizeIfNeeded(grid, tracked, windowRect, tile, screen, target.preset, sid);
        tracked.lastTileForScreen[sid] = tile;
        tracked.lastTileChangeAtByScreen[sid] = now;
        return;
    }

    const auto tiles = grid.tiles(screen, target.preset);
    const auto [p, candidate] = tileUnderDrag(grid.switches().dragAssumeTileSize, windowRect, tiles);
    if (!candidate) {
        TLog::log("TILING", "No candidate tile for rect=" + rectText(windowRect) + " on " +
                                screen.localizedName() + "; clearing highlight");
        overlay.hideHighlight();
        if (grid.debugEnabled) overlay.clearDebug();
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
            if (grid.debugEnabled) showDebugReadOut(overlay, screen, kept, tiles, target.preset.cols, p, windowRect);
            applyLiveResizeIfNeeded(grid, tracked, windowRect, kept, screen, target.preset, sid);
            return;
        }
    }

    tracked.lastTileForScreen[sid] = *candidate;
    tracked.lastTileChangeAtByScreen[sid] = now;
    TLog::log("TILING", "Highlight tile on " + screen.localizedName() + " sid=" + std::to_string(sid) +
                            " tile=" + rectText(*candidate));
    overlay.setHighlight(*candidate);
    if (grid.debugEnabled) showDebugReadOut(overlay, screen, *candidate, tiles, target.preset.cols, p, windowRect);
    if (thresholdExceeded)
        applyLiveResizeIfNeeded(grid, tracked, windowRect, *candidate, screen, target.preset, sid);
}

void applyLiveResizeIfNeeded(RoriDeru& grid, DragSession::Tiles& tracked, const Rect& windowRect, const Rect& tile,
                             const platform::NSScreen& screen, const GridPreset& preset, std::uint32_t sid) {
    if (!grid.switches().liveResizeDuringDrag) return;
    const double now = platform::mediaTime();
    if (now - tracked.lastLiveResizeAt < liveResizeSpacing) return;
    if (auto applied = tracked.lastAppliedTileForScreen.find(sid);
        applied != tracked.lastAppliedTileForScreen.end() && applied->second == tile)
        return;
    const double scale = screen.backingScaleFactor();
    const Rect size = RoriDeru::alignRectToPixelEdges(RoriDeru::insetByPadding(tile, preset.padding), scale);
    const auto minimum = grid.frontmostAppMinSize();
    const bool tooSmall =
        size.width + sizeTolerance < minimum.width || size.height + sizeTolerance < minimum.height;
    auto toasted = tracked.lastToastTileForScreen.find(sid);
    if (tooSmall && (toasted == tracked.lastToastTileForScreen.end() || !(toasted->second == tile))) {
        if (auto overlay = grid.overlays.find(sid); overlay != grid.overlays.end() && overlay->second) {
            overlay->second->showToast(minimumSizeMessage);
        } else {
            NotificationManager::shared().show("RoriDeru", minimumSizeMessage, 2.5);
        }
        tracked.lastToastTileForScreen[sid] = tile;
    }
    const Rect centred{RectMath::midX(windowRect) - size.width / 2,
                       RectMath::midY(windowRect) - size.height / 2, size.width, size.height};
    const Rect placed =
        RoriDeru::clamp(RoriDeru::alignRectToPixelEdges(centred, scale), toRect(screen.visibleFrame()));
    grid.moveFrontmostAXWindow(placed);
    tracked.lastAppliedTileForScreen[sid] = tile;
    tracked.lastLiveResizeAt = now;
}

} // namespace tilmora::DragTargeting
