#include "snapping/DragSession.hpp"

#include "model/Settings.hpp"

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

namespace tilmora {

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
    return SnapDefaults::flag(settings::overlayDebug.key, false);
}


std::string nameList(const std::vector<platform::NSScreen>& screens) {
    std::string text = "[";
    for (std::size_t i = 0; i < screens.size(); ++i) {
        if (i > 0) text += ", ";
        text += screens[i].localizedName();
    }
    return text + "]";
}




void clearDebugLayers(OverlayWindow& overlay) {
    overlay.clearDebug();
}


} // namespace

DragSession::DragSession(RoriDeru& grid)
    : grid_(grid) {}

DragSession::~DragSession() {
    if (state_.sampleTimer) state_.sampleTimer->invalidate();
}
/// Steps 8a to 8c of the tick: the first window move shows the overlays of the targets.
void DragSession::showOverlaysForMove(const Rect& windowRect, const std::optional<platform::NSScreen>& windowScreen,
                                      const std::optional<platform::NSScreen>& pointer, bool gridPinned,
                                      bool shouldShowOverlay) {
    RoriDeru& grid = grid_;
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
    RoriDeru::olog(std::string("drag detected move: magnet=") + boolText(grid.switches().magnetMode) + " rectPreset=" +
                   boolText(grid.selectedKind().has_value()) + " gridPresetSelected=" + boolText(gridPinned) +
                   " activePresets=" + keyList(grid.activePresets) +
                   " transient=" + keyList(grid.transientPresets) + " targets=" + nameList(targets) +
                   " shouldShowOverlay=" + boolText(shouldShowOverlay));
    if (!shouldShowOverlay) return;
    if (grid.overlays.empty()) state_.createdOverlaysForDragSession = true;
    for (const auto& target : targets) {
        if (auto preset = presetForTarget(grid, target, gridPinned))
            grid.showOverlay(target, *preset, true, gridPinned, std::nullopt);
    }
}

/// Step 8c of the tick: in all-displays scope the pointer's display joins the overlays.
void DragSession::joinPointerDisplay(const std::optional<platform::NSScreen>& pointer, bool gridPinned) {
    RoriDeru& grid = grid_;
    if (!RoriDeru::layoutAppliesToAllScreens() || !pointer) return;
    const auto display = tlm_displayID(*pointer);
    if (!display || grid.overlays.count(*display) > 0) return;
    if (auto preset = presetForTarget(grid, *pointer, gridPinned))
        grid.showOverlay(*pointer, *preset, true, gridPinned, std::nullopt);
}

/// Step 9 of the tick: hands a custom-layout drag to the tiling controller.
void DragSession::driveTilingController(const std::optional<platform::NSScreen>& pointer,
                                        const std::optional<platform::NSScreen>& windowScreen, bool kindApplies,
                                        bool gridPinned) {
    RoriDeru& grid = grid_;
    auto controller = tilingController_.lock();
    if (!controller || !state_.windowMoveDetected) return;
    const auto& layoutScreen = pointer ? pointer : windowScreen;
    const bool transient = layoutScreen && controller->transientLayoutsByDisplay.count(
                                               DisplayId(tlm_identifierString(*layoutScreen))) > 0;
    if (!transient && (grid.switches().magnetMode || kindApplies || gridPinned)) return;
    if (!state_.tilingDragActive) {
        const auto location = platform::NSEvent::mouseLocation();
        if (!state_.tilingWindowId) state_.tilingWindowId = grid.currentFrontmostWindowId();
        state_.tilingDragActive = controller->beginDrag(state_.tilingWindowId, location);
        if (!state_.tilingDragActive) return;
    }
    controller->updateDrag(platform::NSEvent::mouseLocation());
}

/// Hides every overlay's highlight and forgets, per display, the tile the drag last showed,
/// applied, toasted and when it changed.
void DragSession::hideHighlightsAndForgetTiles() {
    RoriDeru& grid = grid_;
    for (const auto& [display, overlay] : grid.overlays) {
        (void)display;
        if (overlay) overlay->hideHighlight();
    }
    tiles_.lastTileForScreen.clear();
    tiles_.lastAppliedTileForScreen.clear();
    tiles_.lastToastTileForScreen.clear();
    tiles_.lastTileChangeAtByScreen.clear();
}

void DragSession::logStatusLine() const {
    const RoriDeru& grid = grid_;
    const bool debug = overlayDebug();
    if (!TLog::verbose() && !debug) return;
    const std::string line =
        std::string("updateHighlight drag=") + boolText(state_.isDragging) +
        " moveDetected=" + boolText(state_.windowMoveDetected) + " overlays=" + keyList(grid.overlays) +
        " active=" + keyList(grid.activePresets) + " transient=" + keyList(grid.transientPresets) +
        " selectedKind=" + SnapLog::kindDebugText(grid.selectedKind()) +
        " gridPinned=" + boolText(grid.shouldMarkGridPresetInMenu());
    TLog::log("TILING", line);
    if (debug) RoriDeru::olog(line);
}

std::uint32_t DragSession::displayKey(const platform::NSScreen& screen) {
    return tlm_displayID(screen).value_or(0);
}

std::optional<platform::NSScreen> DragSession::pointerScreen() {
    const auto location = platform::NSEvent::mouseLocation();
    for (const auto& screen : platform::NSScreen::screens()) {
        if (screen.frame().contains(location)) return screen;
    }
    return std::nullopt;
}

void DragSession::hideAllHighlights() {
    RoriDeru& grid = grid_;
    for (const auto& [display, overlay] : grid.overlays) {
        (void)display;
        if (!overlay) continue;
        overlay->hideHighlight();
        if (!grid.debugEnabled) clearDebugLayers(*overlay);
    }
}

void DragSession::handleDragged(const platform::NSEvent& event) {
    RoriDeru& grid = grid_;
    if (!grid.switches().snappingEnabled) return;
    if (state_.isDragging || state_.dragRefusedForOption) return;
    if (grid.switches().dragRequireOption && !event.modifierFlags.contains(platform::ModifierFlags::option)) {
        state_.dragRefusedForOption = true;
        return;
    }
    state_.isDragging = true;
    state_.dragStartMouseLocation = platform::NSEvent::mouseLocation();
    startSampling();
}

void DragSession::startSampling() {
    RoriDeru& grid = grid_;
    if (state_.sampleTimer) {
        state_.sampleTimer->invalidate();
        state_.sampleTimer.reset();
    }
    state_.dragStartWindowRect = grid.frontmostWindowAppKitRect();
    state_.windowMoveDetected = false;
    auto handle = grid.weakHandle();
    state_.sampleTimer = platform::Timer::make(sampleInterval, true, [handle](platform::Timer&) {
        if (auto alive = handle.lock()) (*alive)->updateHighlightForFrontmostWindow();
    });
    platform::RunLoop::main().add(state_.sampleTimer, platform::RunLoopMode::common);
}

void DragSession::tick() {
    RoriDeru& grid = grid_;
    if (!grid.switches().snappingEnabled) {
        hideAllHighlights();
        return;
    }
    const auto pointer = pointerScreen();
    logStatusLine();

    if (state_.dragStartMouseLocation && !state_.dragExceededThreshold) {
        const auto location = platform::NSEvent::mouseLocation();
        const double dx = location.x - state_.dragStartMouseLocation->x;
        const double dy = location.y - state_.dragStartMouseLocation->y;
        if (std::sqrt(dx * dx + dy * dy) >= RoriDeru::dragThresholdPixels) {
            state_.dragExceededThreshold = true;
        } else {
            if (TLog::verbose()) {
                TLog::log("TILING", "updateHighlight early-exit: pointer threshold not exceeded (dx=" +
                                        platform::Text::doubleDescription(dx) +
                                        ", dy=" + platform::Text::doubleDescription(dy) + ")");
            }
            hideAllHighlights();
            return;
        }
    }

    const auto windowRect = grid.frontmostWindowAppKitRect();
    if (!windowRect) {
        TLog::log("TILING", "updateHighlight early-exit: no frontmost window rect");
        hideAllHighlights();
        return;
    }

    const bool gridPinned = grid.shouldMarkGridPresetInMenu();
    const auto windowScreen = RoriDeru::screenForRect(*windowRect);
    const bool kindApplies = grid.selectedKindApplies(pointer ? pointer : windowScreen);
    const bool shouldShowOverlay =
        grid.switches().magnetMode || kindApplies || gridPinned || !grid.transientPresets.empty();

    if (pointer && !grid.overlays.empty()) {
        const bool exclusive =
            !RoriDeru::layoutAppliesToAllScreens() && !grid.selectedKindApplies(pointer) && !grid.switches().magnetMode;
        if (exclusive && grid.overlays.count(displayKey(*pointer)) == 0) {
            hideAllHighlights();
            return;
        }
    }

    if (!state_.dragStartWindowRect) {
        state_.dragStartWindowRect = *windowRect;
    } else if (!state_.windowMoveDetected) {
        const double moved = std::max(std::abs(windowRect->x - state_.dragStartWindowRect->x),
                                      std::abs(windowRect->y - state_.dragStartWindowRect->y));
        if (moved >= RoriDeru::windowMoveThreshold) {
            state_.windowMoveDetected = true;
            showOverlaysForMove(*windowRect, windowScreen, pointer, gridPinned, shouldShowOverlay);
            if (shouldShowOverlay) joinPointerDisplay(pointer, gridPinned);
        }
    } else if (shouldShowOverlay) {
        joinPointerDisplay(pointer, gridPinned);
    }

    driveTilingController(pointer, windowScreen, kindApplies, gridPinned);

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
    if (!state_.windowMoveDetected || !best) {
        hideAllHighlights();
        return;
    }
    const auto found = grid.overlays.find(best->sid);
    if (found == grid.overlays.end() || !found->second) {
        hideAllHighlights();
        return;
    }
    auto overlay = found->second;
    overlay->orderFrontRegardless();
    DragTargeting::highlight(grid, tiles_, state_.dragExceededThreshold, *best, *overlay, *windowRect);
}

void DragSession::handleMouseUp() {
    RoriDeru& grid = grid_;
    state_.dragRefusedForOption = false;
    if (!state_.isDragging) return;
    const bool tilingWasActive = state_.tilingDragActive;
    if (tilingWasActive) {
        const auto location = platform::NSEvent::mouseLocation();
        if (auto controller = tilingController_.lock()) controller->endDrag(location);
        state_.tilingDragActive = false;
        state_.tilingWindowId.reset();
    }
    state_.isDragging = false;
    if (state_.sampleTimer) {
        state_.sampleTimer->invalidate();
        state_.sampleTimer.reset();
    }
    if (!tilingWasActive && state_.dragExceededThreshold && state_.windowMoveDetected) {
        if (grid.switches().magnetMode || !grid.overlays.empty()) snapOnDrop();
    }
    hideHighlightsAndForgetTiles();
    if (!grid.debugEnabled) {
        for (const auto& [display, overlay] : grid.overlays) {
            (void)display;
            if (overlay) clearDebugLayers(*overlay);
        }
    }
    if (state_.createdOverlaysForDragSession) {
        for (const auto& [display, overlay] : grid.overlays) {
            (void)display;
            if (!overlay) continue;
            overlay->hideHighlight();
            clearDebugLayers(*overlay);
            overlay->orderOut();
        }
        grid.overlays.clear();
        state_.createdOverlaysForDragSession = false;
    }
    state_.dragStartMouseLocation.reset();
    state_.dragExceededThreshold = false;
    state_.dragStartWindowRect.reset();
    state_.windowMoveDetected = false;
}

void DragSession::beginExternalDrag() {
    RoriDeru& grid = grid_;
    if (state_.isDragging) return;
    state_.isDragging = true;
    state_.dragStartMouseLocation = platform::NSEvent::mouseLocation();
    state_.dragExceededThreshold = false;
    state_.dragStartWindowRect = grid.frontmostWindowAppKitRect();
    startSampling();
}

void DragSession::ensureOverlayForDrag(const std::optional<platform::NSScreen>& screen) {
    RoriDeru& grid = grid_;
    if (!screen) return;
    const auto display = tlm_displayID(*screen);
    if (!display || grid.overlays.count(*display) > 0) return;
    if (auto found = grid.transientPresets.find(*display); found != grid.transientPresets.end()) {
        state_.createdOverlaysForDragSession = true;
        const GridPreset preset = found->second;
        grid.showOverlay(*screen, preset, true, false, std::nullopt);
    } else if (grid.selectedKindApplies(screen)) {
        state_.createdOverlaysForDragSession = true;
        grid.showOverlay(*screen, wholeFrame(), true, false, std::nullopt);
    } else if (auto active = grid.activePresets.find(*display);
               active != grid.activePresets.end() && grid.shouldMarkGridPreset(active->second, screen)) {
        state_.createdOverlaysForDragSession = true;
        const GridPreset preset = active->second;
        grid.showOverlay(*screen, preset, true, true, std::nullopt);
    }
}

void DragSession::snapOnDrop() {
    RoriDeru& grid = grid_;
    const bool gridPinned = grid.shouldMarkGridPresetInMenu();
    const auto window = grid.frontmostWindowAppKitRect();
    if (!window) return;
    const auto pointer = pointerScreen();
    const auto windowScreen = RoriDeru::screenForRect(*window);
    const bool kindApplies = grid.selectedKindApplies(pointer ? pointer : windowScreen);
    if (!grid.switches().magnetMode && !kindApplies && !gridPinned && grid.transientPresets.empty()) return;
    ensureOverlayForDrag(pointer);
    ensureOverlayForDrag(windowScreen);

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
        const auto tile = DragTargeting::tileUnderDrag(grid.switches().dragAssumeTileSize, *window, tiles).tile;
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

void DragSession::abandon() {
    if (state_.sampleTimer) {
        state_.sampleTimer->invalidate();
        state_.sampleTimer.reset();
    }
    const bool wasDragging = state_.isDragging;
    state_.isDragging = false;
    if (state_.tilingDragActive) {
        if (auto controller = tilingController_.lock()) controller->cancelDrag();
    }
    state_.tilingDragActive = false;
    state_.tilingWindowId.reset();
    if (!wasDragging) return;
    hideHighlightsAndForgetTiles();
    state_.dragStartMouseLocation.reset();
    state_.dragExceededThreshold = false;
    state_.dragStartWindowRect.reset();
    state_.windowMoveDetected = false;
}

} // namespace tilmora
