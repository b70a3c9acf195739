#include "snapping/DragSession.hpp"

#include "model/Settings.hpp"

#include "platform/desktop/NSGeometry.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/dispatch/Timer.hpp"
#include "platform/foundation/Text.hpp"
#include "snapping/DragTargeting.hpp"
#include "snapping/GapSettings.hpp"
#include "snapping/GridLayout.hpp"
#include "snapping/GridPresetStorage.hpp"
#include "snapping/GridWindowMover.hpp"
#include "snapping/LayoutTargets.hpp"
#include "snapping/OverlayLifecycle.hpp"
#include "snapping/PresetMarking.hpp"
#include "snapping/RectMath.hpp"
#include "snapping/RectSelection.hpp"
#include "snapping/SnapDefaults.hpp"
#include "snapping/SnapGridSeam.hpp"
#include "snapping/SnapKindGeometry.hpp"
#include "snapping/SnapLog.hpp"
#include "snapping/SnapScreens.hpp"
#include "snapping/SnapSwitches.hpp"
#include "snapping/TLog.hpp"
#include "snapping/TargetWindow.hpp"
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
std::optional<GridPreset> presetForTarget(const RectSelection& selection, const OverlayLifecycle& overlays,
                                          const platform::NSScreen& screen, bool gridPinned) {
    if (selection.applies(screen)) return wholeFrame();
    const auto display = tlm_displayID(screen);
    if (display) {
        if (auto found = overlays.transientPreset(*display)) return found;
    }
    if (!gridPinned) return std::nullopt;
    if (display) {
        if (auto found = overlays.activePreset(*display)) return found;
    }
    if (SnapDefaults::layoutAppliesToAllScreens()) return GridPresetStorage::load(display);
    return std::nullopt;
}

bool overlayDebug() {
    return SnapDefaults::overlayDebug();
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

DragSession::DragSession(SnapGridSeam& seam, LayoutTargets& targets, ActiveApplicationTracker& applications,
                         OverlayLifecycle& overlays, RectSelection& selection, const PresetMarking& marking,
                         const SnapSwitches& switches, GridWindowMover& mover)
    : seam_(seam)
    , targets_(targets)
    , applications_(applications)
    , overlays_(overlays)
    , selection_(selection)
    , marking_(marking)
    , switches_(switches)
    , mover_(mover)
    , targeting_(overlays, selection, switches, mover)
    , lifetime_(std::make_shared<DragSession*>(this)) {}

DragSession::~DragSession() {
    if (state_.sampleTimer) state_.sampleTimer->invalidate();
}

/// The tick's reaction to the first window move of a drag: picks the displays the drag targets
/// (every screen in all-displays scope, with the pointer's; else the window's), retires the other
/// overlays and transient presets, and shows an overlay on each target that has a preset to show.
void DragSession::showOverlaysForMove(const Rect& windowRect,
                                      const std::optional<platform::NSScreen>& windowScreen,
                                      const std::optional<platform::NSScreen>& pointer, bool gridPinned,
                                      bool shouldShowOverlay) {
    const bool allDisplays = SnapDefaults::layoutAppliesToAllScreens();
    std::vector<platform::NSScreen> targets;
    if (allDisplays) {
        targets = platform::NSScreen::screens();
    } else {
        targets = targets_.targetScreens(std::nullopt, windowRect, false);
        if (targets.empty()) targets = targets_.targetScreens(windowScreen, std::nullopt, false);
        if (targets.empty() && windowScreen) targets.push_back(*windowScreen);
        std::set<std::uint32_t> keeping;
        for (const auto& target : targets) {
            if (auto number = screenNumberValue(target)) keeping.insert(*number);
        }
        overlays_.prune(keeping);
        overlays_.pruneTransientPresets(keeping);
    }
    if (allDisplays && pointer) {
        const auto number = screenNumberValue(*pointer);
        const bool listed =
            std::any_of(targets.begin(), targets.end(), [&](const platform::NSScreen& target) {
                return number && screenNumberValue(target) == number;
            });
        if (!listed) targets.push_back(*pointer);
    }
    SnapLog::olog(std::string("drag detected move: magnet=") + boolText(switches_.magnetMode) +
                  " rectPreset=" + boolText(selection_.selectedKind().has_value()) + " gridPresetSelected=" +
                  boolText(gridPinned) + " activePresets=" + keyList(overlays_.activePresets()) +
                  " transient=" + keyList(overlays_.transientPresets()) + " targets=" + nameList(targets) +
                  " shouldShowOverlay=" + boolText(shouldShowOverlay));
    if (!shouldShowOverlay) return;
    if (overlays_.overlays().empty()) state_.createdOverlaysForDragSession = true;
    for (const auto& target : targets) {
        if (auto preset = presetForTarget(selection_, overlays_, target, gridPinned))
            seam_.showOverlay(target, *preset, true, gridPinned, std::nullopt);
    }
}

/// In all-displays scope, a display the pointer reaches during a moving drag joins the overlays.
void DragSession::joinPointerDisplay(const std::optional<platform::NSScreen>& pointer, bool gridPinned) {
    if (!SnapDefaults::layoutAppliesToAllScreens() || !pointer) return;
    const auto display = tlm_displayID(*pointer);
    if (!display || overlays_.hasOverlay(*display)) return;
    if (auto preset = presetForTarget(selection_, overlays_, *pointer, gridPinned))
        seam_.showOverlay(*pointer, *preset, true, gridPinned, std::nullopt);
}

/// Once the window moves, hands the drag to the tiling controller when the display under the
/// pointer has a transient layout, or when no magnet, snap kind or pinned grid claims the drag.
void DragSession::driveTilingController(const std::optional<platform::NSScreen>& pointer,
                                        const std::optional<platform::NSScreen>& windowScreen,
                                        bool kindApplies, bool gridPinned) {
    auto controller = tilingController_.lock();
    if (!controller || !state_.windowMoveDetected) return;
    const auto& layoutScreen = pointer ? pointer : windowScreen;
    const bool transient = layoutScreen && controller->transientLayoutsByDisplay.count(
                                               DisplayId(tlm_identifierString(*layoutScreen))) > 0;
    if (!transient && (switches_.magnetMode || kindApplies || gridPinned)) return;
    if (!state_.tilingDragActive) {
        const auto location = platform::NSEvent::mouseLocation();
        if (!state_.tilingWindowId) state_.tilingWindowId = TargetWindow::currentWindowId(applications_);
        state_.tilingDragActive = controller->beginDrag(state_.tilingWindowId, location);
        if (!state_.tilingDragActive) return;
    }
    controller->updateDrag(platform::NSEvent::mouseLocation());
}

/// Hides every overlay's highlight and forgets, per display, the tile the drag last showed,
/// applied, toasted and when it changed.
void DragSession::hideHighlightsAndForgetTiles() {
    for (const auto& [display, overlay] : overlays_.overlays()) {
        (void)display;
        if (overlay) overlay->hideHighlight();
    }
    targeting_.forgetTiles();
}

void DragSession::logStatusLine() const {
    const bool debug = overlayDebug();
    if (!TLog::verbose() && !debug) return;
    const std::string line = std::string("updateHighlight drag=") + boolText(state_.isDragging) +
                             " moveDetected=" + boolText(state_.windowMoveDetected) +
                             " overlays=" + keyList(overlays_.overlays()) +
                             " active=" + keyList(overlays_.activePresets()) +
                             " transient=" + keyList(overlays_.transientPresets()) +
                             " selectedKind=" + SnapLog::kindDebugText(selection_.selectedKind()) +
                             " gridPinned=" + boolText(marking_.inMenu());
    TLog::log("TILING", line);
    if (debug) SnapLog::olog(line);
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
    for (const auto& [display, overlay] : overlays_.overlays()) {
        (void)display;
        if (!overlay) continue;
        overlay->hideHighlight();
        if (!overlays_.debugEnabled()) clearDebugLayers(*overlay);
    }
}

void DragSession::handleDragged(const platform::NSEvent& event) {
    if (!switches_.snappingEnabled) return;
    if (state_.isDragging || state_.dragRefusedForOption) return;
    if (switches_.dragRequireOption && !event.modifierFlags.contains(platform::ModifierFlags::option)) {
        state_.dragRefusedForOption = true;
        return;
    }
    state_.isDragging = true;
    state_.dragStartMouseLocation = platform::NSEvent::mouseLocation();
    startSampling();
}

void DragSession::startSampling() {
    if (state_.sampleTimer) {
        state_.sampleTimer->invalidate();
        state_.sampleTimer.reset();
    }
    state_.dragStartWindowRect = TargetWindow::frontmostWindowAppKitRect(applications_);
    state_.windowMoveDetected = false;
    std::weak_ptr<DragSession*> handle = lifetime_;
    state_.sampleTimer = platform::Timer::make(sampleInterval, true, [handle](platform::Timer&) {
        if (auto alive = handle.lock()) (*alive)->tick();
    });
    platform::RunLoop::main().add(state_.sampleTimer, platform::RunLoopMode::common);
}

void DragSession::tick() {
    if (!switches_.snappingEnabled) {
        hideAllHighlights();
        return;
    }
    const auto pointer = pointerScreen();
    logStatusLine();

    if (state_.dragStartMouseLocation && !state_.dragExceededThreshold) {
        const auto location = platform::NSEvent::mouseLocation();
        const double dx = location.x - state_.dragStartMouseLocation->x;
        const double dy = location.y - state_.dragStartMouseLocation->y;
        if (std::sqrt(dx * dx + dy * dy) >= dragThresholdPixels) {
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

    const auto windowRect = TargetWindow::frontmostWindowAppKitRect(applications_);
    if (!windowRect) {
        TLog::log("TILING", "updateHighlight early-exit: no frontmost window rect");
        hideAllHighlights();
        return;
    }

    const bool gridPinned = marking_.inMenu();
    const auto windowScreen = SnapScreens::screenForRect(*windowRect);
    const bool kindApplies = selection_.applies(pointer ? pointer : windowScreen);
    const bool shouldShowOverlay =
        switches_.magnetMode || kindApplies || gridPinned || !overlays_.transientPresets().empty();

    if (pointer && !overlays_.overlays().empty()) {
        const bool exclusive = !SnapDefaults::layoutAppliesToAllScreens() && !selection_.applies(pointer) &&
                               !switches_.magnetMode;
        if (exclusive && !overlays_.hasOverlay(displayKey(*pointer))) {
            hideAllHighlights();
            return;
        }
    }

    if (!state_.dragStartWindowRect) {
        state_.dragStartWindowRect = *windowRect;
    } else if (!state_.windowMoveDetected) {
        const double moved = std::max(std::abs(windowRect->x - state_.dragStartWindowRect->x),
                                      std::abs(windowRect->y - state_.dragStartWindowRect->y));
        if (moved >= windowMoveThreshold) {
            state_.windowMoveDetected = true;
            showOverlaysForMove(*windowRect, windowScreen, pointer, gridPinned, shouldShowOverlay);
            if (shouldShowOverlay) joinPointerDisplay(pointer, gridPinned);
        }
    } else if (shouldShowOverlay) {
        joinPointerDisplay(pointer, gridPinned);
    }

    driveTilingController(pointer, windowScreen, kindApplies, gridPinned);

    const auto best = targeting_.bestOverlay(*windowRect);
    if (overlayDebug()) {
        if (best) {
            SnapLog::olog("bestOverlay=" + best->screen.localizedName() +
                          " preset=" + std::to_string(best->preset.rows) + "x" +
                          std::to_string(best->preset.cols) + " overlays=" + keyList(overlays_.overlays()));
        } else {
            SnapLog::olog("bestOverlay=nil overlays=" + keyList(overlays_.overlays()));
        }
    }
    if (!state_.windowMoveDetected || !best) {
        hideAllHighlights();
        return;
    }
    const auto overlay = overlays_.overlay(best->sid);
    if (!overlay) {
        hideAllHighlights();
        return;
    }
    overlay->orderFrontRegardless();
    targeting_.highlight(state_.dragExceededThreshold, *best, *overlay, *windowRect);
}

void DragSession::handleMouseUp() {
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
        if (switches_.magnetMode || !overlays_.overlays().empty()) snapOnDrop();
    }
    hideHighlightsAndForgetTiles();
    if (!overlays_.debugEnabled()) {
        for (const auto& [display, overlay] : overlays_.overlays()) {
            (void)display;
            if (overlay) clearDebugLayers(*overlay);
        }
    }
    if (state_.createdOverlaysForDragSession) {
        for (const auto& [display, overlay] : overlays_.takeOverlays()) {
            (void)display;
            if (!overlay) continue;
            overlay->hideHighlight();
            clearDebugLayers(*overlay);
            overlay->orderOut();
        }
        state_.createdOverlaysForDragSession = false;
    }
    state_.dragStartMouseLocation.reset();
    state_.dragExceededThreshold = false;
    state_.dragStartWindowRect.reset();
    state_.windowMoveDetected = false;
    runDragEndBlocks();
}

void DragSession::beginExternalDrag() {
    if (state_.isDragging) return;
    state_.isDragging = true;
    state_.dragStartMouseLocation = platform::NSEvent::mouseLocation();
    state_.dragExceededThreshold = false;
    state_.dragStartWindowRect = TargetWindow::frontmostWindowAppKitRect(applications_);
    startSampling();
}

void DragSession::ensureOverlayForDrag(const std::optional<platform::NSScreen>& screen) {
    if (!screen) return;
    const auto display = tlm_displayID(*screen);
    if (!display || overlays_.hasOverlay(*display)) return;
    if (const auto transient = overlays_.transientPreset(*display)) {
        state_.createdOverlaysForDragSession = true;
        seam_.showOverlay(*screen, *transient, true, false, std::nullopt);
    } else if (selection_.applies(screen)) {
        state_.createdOverlaysForDragSession = true;
        seam_.showOverlay(*screen, wholeFrame(), true, false, std::nullopt);
    } else if (const auto active = overlays_.activePreset(*display);
               active && marking_.shouldMark(*active, screen)) {
        state_.createdOverlaysForDragSession = true;
        seam_.showOverlay(*screen, *active, true, true, std::nullopt);
    }
}

void DragSession::snapOnDrop() {
    const bool gridPinned = marking_.inMenu();
    const auto window = TargetWindow::frontmostWindowAppKitRect(applications_);
    if (!window) return;
    const auto pointer = pointerScreen();
    const auto windowScreen = SnapScreens::screenForRect(*window);
    const bool kindApplies = selection_.applies(pointer ? pointer : windowScreen);
    if (!switches_.magnetMode && !kindApplies && !gridPinned && overlays_.transientPresets().empty()) return;
    ensureOverlayForDrag(pointer);
    ensureOverlayForDrag(windowScreen);

    if (!SnapDefaults::layoutAppliesToAllScreens()) {
        if (pointer && !overlays_.hasOverlay(displayKey(*pointer))) {
            SnapLog::missingOverlay(*pointer, "Cross-display drop");
            return;
        }
        if (auto dominant = SnapScreens::screenForRect(*window);
            dominant && !overlays_.hasOverlay(displayKey(*dominant))) {
            SnapLog::missingOverlay(*dominant, "Drop dominated by " + dominant->localizedName());
            return;
        }
    }

    std::optional<DragTargeting::Target> target;
    if (pointer) {
        const auto display = tlm_displayID(*pointer);
        if (display && overlays_.hasOverlay(*display)) {
            const GridPreset preset = overlays_.transientPreset(*display).value_or(
                overlays_.activePreset(*display).value_or(wholeFrame()));
            target = DragTargeting::Target{*display, *pointer, preset};
        }
    }
    if (!target) target = targeting_.bestOverlay(*window);
    if (!target) return;

    const auto& screen = target->screen;
    const Rect visible = toRect(screen.visibleFrame());
    const double scale = screen.backingScaleFactor();
    Rect placed;
    if (auto kind = selection_.kindForDisplay(target->sid)) {
        const Rect rect = SnapKindGeometry::rectForVisible(*kind, SnapScreens::adjustedVisibleFrame(screen),
                                                           GapSettings::current());
        placed = SnapKindGeometry::clamp(SnapKindGeometry::alignRectToPixelEdges(rect, scale), visible);
    } else {
        const auto tiles = overlays_.tiles(screen, target->preset);
        const auto tile = DragTargeting::tileUnderDrag(switches_.dragAssumeTileSize, *window, tiles).tile;
        if (!tile) return;
        const Rect padded = GridLayout::insetByPadding(*tile, target->preset.padding);
        placed = SnapKindGeometry::clamp(SnapKindGeometry::alignRectToPixelEdges(padded, scale), visible);
        TLog::log("TILING", "Snap on " + screen.localizedName() + " (id=" + std::to_string(target->sid) +
                                ") window=" + platform::NSStringFromRect(toCGRect(*window)) +
                                " tile=" + platform::NSStringFromRect(toCGRect(placed)) +
                                " vis=" + platform::NSStringFromRect(screen.visibleFrame()));
    }
    mover_.moveFrontmostAXWindow(placed);
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
    runDragEndBlocks();
}

void DragSession::whenDragEnds(std::function<void()> block) {
    if (!state_.isDragging) {
        block();
        return;
    }
    dragEndBlocks_.push_back(std::move(block));
}

void DragSession::runDragEndBlocks() {
    // A block may start another wait (a drag begun from it); that one waits for the next end.
    auto blocks = std::move(dragEndBlocks_);
    dragEndBlocks_.clear();
    for (const auto& block : blocks)
        block();
}

} // namespace tilmora
