#include "snapping/DragSession.hpp"

#include "platform/desktop/NSGeometry.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/dispatch/Timer.hpp"
#include "platform/foundation/Text.hpp"
#include "snapping/DragTargeting.hpp"
#include "snapping/RectMath.hpp"
#include "snapping/RoriDeru.hpp"
#include "snapping/SnapDefaults.hpp"
#include "snapping/SnapLog.hpp"
#include "snapping/TLog.hpp"
#include "snapping/TilingController.hpp"
#include "windows/GeometryBridge.hpp"
#include "windows/ScreenIdentity.hpp"

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

namespace tilmora::DragSession {

namespace {

const char* boolText(bool value) {
    return value ? "true" : "false";
}

template <class Map>
std::string keyList(const Map& map) {
    std::string text = "[";
    bool first = true;
    for (const auto& [key, value] : map) {
        (void)value;
        if (!first) text += ", ";
        text += std::to_string(key);
        first = false;
    }
    return text + "]";
}

GridPreset wholeFrame() {
    return GridPreset(1, 1, 0, 0);
}

/// The preset a target screen's overlay shows on the first window move, or none.
std::optional<GridPreset> presetForTarget(RoriDeru& grid, const platform::NSScreen& screen, bool gridPinned) {
    if (grid.selectedKindApplies(screen)) return wholeFrame();
    const auto display = tlm_displayID(screen);
    if (display) {
        if (auto found = grid.transientPresets.find(*display); found != grid.transientPresets.end())
            return found->second;
    }
    if (!gridPinned) return std::nullopt;
    if (display) {
        if (auto found = grid.activePresets.find(*display); found != grid.activePresets.end())
            return found->second;
    }
    if (RoriDeru::layoutAppliesToAllScreens()) return grid.loadPreset(screen);
    return std::nullopt;
}

bool overlayDebug() {
    return SnapDefaults::flag("WMOverlayDebug", false);
}

void logStatusLine(RoriDeru& grid) {
    const bool debug = overlayDebug();
    if (!TLog::verbose() && !debug) return;
    const std::string line =
        std::string("updateHighlight drag=") + boolText(grid.isDragging) +
        " moveDetected=" + boolText(grid.windowMoveDetected) + " overlays=" + keyList(grid.overlays) +
        " active=" + keyList(grid.activePresets) + " transient=" + keyList(grid.transientPresets) +
        " selectedKind=" + SnapLog::kindDebugText(grid.selectedKind()) +
        " gridPinned=" + boolText(grid.shouldMarkGridPresetInMenu());
    TLog::log("TILING", line);
    if (debug) RoriDeru::olog(line);
}

std::string nameList(const std::vector<platform::NSScreen>& screens) {
    std::string text = "[";
    for (std::size_t i = 0; i < screens.size(); ++i) {
        if (i > 0) text += ", ";
        text += screens[i].localizedName();
    }
    return text + "]";
}

/// Steps 8a to 8c of the tick: the first window move shows the overlays of the targets.
void showOverlaysForMove(RoriDeru& grid, const Rect& windowRect,
                         const std::optional<platform::NSScreen>& windowScreen,
                         const std::optional<platform::NSScreen>& pointer, bool gridPinned,
                         bool shouldShowOverlay) {
    const bool allDisplays = RoriDeru::layoutAppliesToAllScreens();
    std::vector<platform::NSScreen> targets;
    if (allDisplays) {
        targets = platform::NSScreen::screens();
    } else {
        targets = grid.layoutTargetScreens(std::nullopt, windowRect, false);
        if (targets.empty()) targets = grid.layoutTargetScreens(windowScreen, std::nullopt, false);
        if (targets.empty() && windowScreen) targets.push_back(*windowScreen);
        std::set<std::uint32_t> keeping;
        for (const auto& target : targets) {
            if (auto number = screenNumberValue(target)) keeping.insert(*number);
        }
        grid.pruneOverlays(keeping);
        grid.pruneTransientPresets(keeping);
    }
    if (allDisplays && pointer) {
        const auto number = screenNumberValue(*pointer);
        const bool listed =
            std::any_of(targets.begin(), targets.end(), [&](const platform::NSScreen& target) {
                return number && screenNumberValue(target) == number;
            });
        if (!listed) targets.push_back(*pointer);
    }
    RoriDeru::olog(std::string("drag detected move: magnet=") + boolText(grid.magnetMode) + " rectPreset=" +
                   boolText(grid.selectedKind().has_value()) + " gridPresetSelected=" + boolText(gridPinned) +
                   " activePresets=" + keyList(grid.activePresets) +
                   " transient=" + keyList(grid.transientPresets) + " targets=" + nameList(targets) +
                   " shouldShowOverlay=" + boolText(shouldShowOverlay));
    if (!shouldShowOverlay) return;
    if (grid.overlays.empty()) grid.createdOverlaysForDragSession = true;
    for (const auto& target : targets) {
        if (auto preset = presetForTarget(grid, target, gridPinned))
            grid.showOverlay(target, *preset, true, gridPinned, std::nullopt);
    }
}

/// Step 8c of the tick: in all-displays scope the pointer's display joins the overlays.
void joinPointerDisplay(RoriDeru& grid, const std::optional<platform::NSScreen>& pointer, bool gridPinned) {
    if (!RoriDeru::layoutAppliesToAllScreens() || !pointer) return;
    const auto display = tlm_displayID(*pointer);
    if (!display || grid.overlays.count(*display) > 0) return;
    if (auto preset = presetForTarget(grid, *pointer, gridPinned))
        grid.showOverlay(*pointer, *preset, true, gridPinned, std::nullopt);
}

/// Step 9 of the tick: hands a custom-layout drag to the tiling controller.
void driveTilingController(RoriDeru& grid, const std::optional<platform::NSScreen>& pointer,
                           const std::optional<platform::NSScreen>& windowScreen, bool kindApplies,
                           bool gridPinned) {
    auto controller = grid.tilingControllerProvider.lock();
    if (!controller || !grid.windowMoveDetected) return;
    const auto& layoutScreen = pointer ? pointer : windowScreen;
    const bool transient = layoutScreen && controller->transientLayoutsByDisplay.count(
                                               DisplayId(tlm_identifierString(*layoutScreen))) > 0;
    if (!transient && (grid.magnetMode || kindApplies || gridPinned)) return;
    if (!grid.tilingDragActive) {
        const auto location = platform::NSEvent::mouseLocation();
        if (!grid.tilingWindowId) grid.tilingWindowId = grid.currentFrontmostWindowId();
        grid.tilingDragActive = controller->beginDrag(grid.tilingWindowId, location);
        if (!grid.tilingDragActive) return;
    }
    controller->updateDrag(platform::NSEvent::mouseLocation());
}

void clearDebugLayers(OverlayWindow& overlay) {
    overlay.clearDebug();
}

/// Hides every overlay's highlight and forgets, per display, the tile the drag last showed,
/// applied, toasted and when it changed.
void hideHighlightsAndForgetTiles(RoriDeru& grid) {
    for (const auto& [display, overlay] : grid.overlays) {
        (void)display;
        if (overlay) overlay->hideHighlight();
    }
    grid.lastTileForScreen.clear();
    grid.lastAppliedTileForScreen.clear();
    grid.lastToastTileForScreen.clear();
    grid.lastTileChangeAtByScreen.clear();
}

} // namespace

std::uint32_t displayKey(const platform::NSScreen& screen) {
    return tlm_displayID(screen).value_or(0);
}

std::optional<platform::NSScreen> pointerScreen() {
    const auto location = platform::NSEvent::mouseLocation();
    for (const auto& screen : platform::NSScreen::screens()) {
        if (screen.frame().contains(location)) return screen;
    }
    return std::nullopt;
}

void hideAllHighlights(RoriDeru& grid) {
    for (const auto& [display, overlay] : grid.overlays) {
        (void)display;
        if (!overlay) continue;
        overlay->hideHighlight();
        if (!grid.debugEnabled) clearDebugLayers(*overlay);
    }
}

void handleDragged(RoriDeru& grid, const platform::NSEvent& event) {
    if (!grid.snappingEnabled) return;
    if (grid.isDragging || grid.dragRefusedForOption) return;
    if (grid.dragRequireOption && !event.modifierFlags.contains(platform::ModifierFlags::option)) {
        grid.dragRefusedForOption = true;
        return;
    }
    grid.isDragging = true;
    grid.dragStartMouseLocation = platform::NSEvent::mouseLocation();
    startSampling(grid);
}

void startSampling(RoriDeru& grid) {
    if (grid.sampleTimer) {
        grid.sampleTimer->invalidate();
        grid.sampleTimer.reset();
    }
    grid.dragStartWindowRect = grid.frontmostWindowAppKitRect();
    grid.windowMoveDetected = false;
    auto handle = grid.weakHandle();
    grid.sampleTimer = platform::Timer::make(sampleInterval, true, [handle](platform::Timer&) {
        if (auto alive = handle.lock()) tick(**alive);
    });
    platform::RunLoop::main().add(grid.sampleTimer, platform::RunLoopMode::common);
}

void tick(RoriDeru& grid) {
    if (!grid.snappingEnabled) {
        hideAllHighlights(grid);
        return;
    }
    const auto pointer = pointerScreen();
    logStatusLine(grid);

    if (grid.dragStartMouseLocation && !grid.dragExceededThreshold) {
        const auto location = platform::NSEvent::mouseLocation();
        const double dx = location.x - grid.dragStartMouseLocation->x;
        const double dy = location.y - grid.dragStartMouseLocation->y;
        if (std::sqrt(dx * dx + dy * dy) >= RoriDeru::dragThresholdPixels) {
            grid.dragExceededThreshold = true;
        } else {
            if (TLog::verbose()) {
                TLog::log("TILING", "updateHighlight early-exit: pointer threshold not exceeded (dx=" +
                                        platform::Text::doubleDescription(dx) +
                                        ", dy=" + platform::Text::doubleDescription(dy) + ")");
            }
            hideAllHighlights(grid);
            return;
        }
    }

    const auto windowRect = grid.frontmostWindowAppKitRect();
    if (!windowRect) {
        TLog::log("TILING", "updateHighlight early-exit: no frontmost window rect");
        hideAllHighlights(grid);
        return;
    }

    const bool gridPinned = grid.shouldMarkGridPresetInMenu();
    const auto windowScreen = RoriDeru::screenForRect(*windowRect);
    const bool kindApplies = grid.selectedKindApplies(pointer ? pointer : windowScreen);
    const bool shouldShowOverlay =
        grid.magnetMode || kindApplies || gridPinned || !grid.transientPresets.empty();

    if (pointer && !grid.overlays.empty()) {
        const bool exclusive =
            !RoriDeru::layoutAppliesToAllScreens() && !grid.selectedKindApplies(pointer) && !grid.magnetMode;
        if (exclusive && grid.overlays.count(displayKey(*pointer)) == 0) {
            hideAllHighlights(grid);
            return;
        }
    }

    if (!grid.dragStartWindowRect) {
        grid.dragStartWindowRect = *windowRect;
    } else if (!grid.windowMoveDetected) {
        const double moved = std::max(std::abs(windowRect->x - grid.dragStartWindowRect->x),
                                      std::abs(windowRect->y - grid.dragStartWindowRect->y));
        if (moved >= RoriDeru::windowMoveThreshold) {
            grid.windowMoveDetected = true;
            showOverlaysForMove(grid, *windowRect, windowScreen, pointer, gridPinned, shouldShowOverlay);
            if (shouldShowOverlay) joinPointerDisplay(grid, pointer, gridPinned);
        }
    } else if (shouldShowOverlay) {
        joinPointerDisplay(grid, pointer, gridPinned);
    }

    driveTilingController(grid, pointer, windowScreen, kindApplies, gridPinned);

    const auto best = DragTargeting::bestOverlay(grid, *windowRect);
    if (overlayDebug()) {
        if (best) {
            RoriDeru::olog("bestOverlay=" + best->screen.localizedName() +
                           " preset=" + std::to_string(best->preset.rows) + "x" +
                           std::to_string(best->preset.cols) + " overlays=" + keyList(grid.overlays));
        } else {
            RoriDeru::olog("bestOverlay=nil overlays=" + keyList(grid.overlays));
        }
    }
    if (!grid.windowMoveDetected || !best) {
        hideAllHighlights(grid);
        return;
    }
    const auto found = grid.overlays.find(best->sid);
    if (found == grid.overlays.end() || !found->second) {
        hideAllHighlights(grid);
        return;
    }
    auto overlay = found->second;
    overlay->orderFrontRegardless();
    DragTargeting::highlight(grid, *best, *overlay, *windowRect);
}

void handleMouseUp(RoriDeru& grid) {
    grid.dragRefusedForOption = false;
    if (!grid.isDragging) return;
    const bool tilingWasActive = grid.tilingDragActive;
    if (tilingWasActive) {
        const auto location = platform::NSEvent::mouseLocation();
        if (auto controller = grid.tilingControllerProvider.lock()) controller->endDrag(location);
        grid.tilingDragActive = false;
        grid.tilingWindowId.reset();
    }
    grid.isDragging = false;
    if (grid.sampleTimer) {
        grid.sampleTimer->invalidate();
        grid.sampleTimer.reset();
    }
    if (!tilingWasActive && grid.dragExceededThreshold && grid.windowMoveDetected) {
        if (grid.magnetMode || !grid.overlays.empty()) snapOnDrop(grid);
    }
    hideHighlightsAndForgetTiles(grid);
    if (!grid.debugEnabled) {
        for (const auto& [display, overlay] : grid.overlays) {
            (void)display;
            if (overlay) clearDebugLayers(*overlay);
        }
    }
    if (grid.createdOverlaysForDragSession) {
        for (const auto& [display, overlay] : grid.overlays) {
            (void)display;
            if (!overlay) continue;
            overlay->hideHighlight();
            clearDebugLayers(*overlay);
            overlay->orderOut();
        }
        grid.overlays.clear();
        grid.createdOverlaysForDragSession = false;
    }
    grid.dragStartMouseLocation.reset();
    grid.dragExceededThreshold = false;
    grid.dragStartWindowRect.reset();
    grid.windowMoveDetected = false;
}

void beginExternalDrag(RoriDeru& grid) {
    if (grid.isDragging) return;
    grid.isDragging = true;
    grid.dragStartMouseLocation = platform::NSEvent::mouseLocation();
    grid.dragExceededThreshold = false;
    grid.dragStartWindowRect = grid.frontmostWindowAppKitRect();
    startSampling(grid);
}

void ensureOverlayForDrag(RoriDeru& grid, const std::optional<platform::NSScreen>& screen) {
    if (!screen) return;
    const auto display = tlm_displayID(*screen);
    if (!display || grid.overlays.count(*display) > 0) return;
    if (auto found = grid.transientPresets.find(*display); found != grid.transientPresets.end()) {
        grid.createdOverlaysForDragSession = true;
        const GridPreset preset = found->second;
        grid.showOverlay(*screen, preset, true, false, std::nullopt);
    } else if (grid.selectedKindApplies(screen)) {
        grid.createdOverlaysForDragSession = true;
        grid.showOverlay(*screen, wholeFrame(), true, false, std::nullopt);
    } else if (auto active = grid.activePresets.find(*display);
               active != grid.activePresets.end() && grid.shouldMarkGridPreset(active->second, screen)) {
        grid.createdOverlaysForDragSession = true;
        const GridPreset preset = active->second;
        grid.showOverlay(*screen, preset, true, true, std::nullopt);
    }
}

void snapOnDrop(RoriDeru& grid) {
    const bool gridPinned = grid.shouldMarkGridPresetInMenu();
    const auto window = grid.frontmostWindowAppKitRect();
    if (!window) return;
    const auto pointer = pointerScreen();
    const auto windowScreen = RoriDeru::screenForRect(*window);
    const bool kindApplies = grid.selectedKindApplies(pointer ? pointer : windowScreen);
    if (!grid.magnetMode && !kindApplies && !gridPinned && grid.transientPresets.empty()) return;
    ensureOverlayForDrag(grid, pointer);
    ensureOverlayForDrag(grid, windowScreen);

    if (!RoriDeru::layoutAppliesToAllScreens()) {
        if (pointer && grid.overlays.count(displayKey(*pointer)) == 0) {
            grid.skipSnapDueToMissingOverlay(*pointer, "Cross-display drop");
            return;
        }
        if (auto dominant = RoriDeru::screenForRect(*window);
            dominant && grid.overlays.count(displayKey(*dominant)) == 0) {
            grid.skipSnapDueToMissingOverlay(*dominant, "Drop dominated by " + dominant->localizedName());
            return;
        }
    }

    std::optional<DragTargeting::Target> target;
    if (pointer) {
        const auto display = tlm_displayID(*pointer);
        if (display && grid.overlays.count(*display) > 0) {
            GridPreset preset = wholeFrame();
            if (auto found = grid.transientPresets.find(*display); found != grid.transientPresets.end())
                preset = found->second;
            else if (auto active = grid.activePresets.find(*display); active != grid.activePresets.end())
                preset = active->second;
            target = DragTargeting::Target{*display, *pointer, preset};
        }
    }
    if (!target) target = DragTargeting::bestOverlay(grid, *window);
    if (!target) return;

    const auto& screen = target->screen;
    const Rect visible = toRect(screen.visibleFrame());
    const double scale = screen.backingScaleFactor();
    Rect placed;
    if (auto kind = grid.rectSelection().kindForDisplay(target->sid)) {
        const Rect rect = grid.computeRectForVisible(*kind, grid.adjustedVisibleFrame(screen));
        placed = RoriDeru::clamp(RoriDeru::alignRectToPixelEdges(rect, scale), visible);
    } else {
        const auto tiles = grid.tiles(screen, target->preset);
        const auto tile = DragTargeting::tileUnderDrag(grid.dragAssumeTileSize, *window, tiles).tile;
        if (!tile) return;
        const Rect padded = RoriDeru::insetByPadding(*tile, target->preset.padding);
        placed = RoriDeru::clamp(RoriDeru::alignRectToPixelEdges(padded, scale), visible);
        TLog::log("TILING", "Snap on " + screen.localizedName() + " (id=" + std::to_string(target->sid) +
                                ") window=" + platform::NSStringFromRect(toCGRect(*window)) +
                                " tile=" + platform::NSStringFromRect(toCGRect(placed)) +
                                " vis=" + platform::NSStringFromRect(screen.visibleFrame()));
    }
    grid.moveFrontmostAXWindow(placed);
}

void abandon(RoriDeru& grid) {
    if (grid.sampleTimer) {
        grid.sampleTimer->invalidate();
        grid.sampleTimer.reset();
    }
    const bool wasDragging = grid.isDragging;
    grid.isDragging = false;
    if (grid.tilingDragActive) {
        if (auto controller = grid.tilingControllerProvider.lock()) controller->cancelDrag();
    }
    grid.tilingDragActive = false;
    grid.tilingWindowId.reset();
    if (!wasDragging) return;
    hideHighlightsAndForgetTiles(grid);
    grid.dragStartMouseLocation.reset();
    grid.dragExceededThreshold = false;
    grid.dragStartWindowRect.reset();
    grid.windowMoveDetected = false;
}

} // namespace tilmora::DragSession
