#include "snapping/TilingController.hpp"

#include "model/Log.hpp"
#include "platform/dispatch/MainThread.hpp"
#include "platform/foundation/Uuid.hpp"
#include "snapping/TLog.hpp"

#include <string>
#include <utility>

namespace tilmora {

namespace {

/// Prints "[VESK][TILING] <message>" while verbose logging is on.
void tilingLog(const std::string& message) {
    if (!TLog::verbose()) return;
    print("[VESK][TILING] " + message);
}

std::string windowText(const std::optional<WindowId>& windowId) {
    return windowId ? windowId->rawValue : std::string("nil");
}

} // namespace

TilingController::TilingController(std::shared_ptr<DisplayProvider> displayProvider,
                                   std::shared_ptr<WindowProvider> windowProvider,
                                   std::shared_ptr<WindowMutator> windowMutator,
                                   std::shared_ptr<TilingEngine> tilingEngine,
                                   std::shared_ptr<LayoutStore> layoutStore,
                                   FallbackLayoutProvider fallbackLayoutProvider)
    : displayProvider(std::move(displayProvider))
    , windowProvider(std::move(windowProvider))
    , windowMutator(std::move(windowMutator))
    , tilingEngine(std::move(tilingEngine))
    , layoutStore(std::move(layoutStore))
    , fallbackLayoutProvider(std::move(fallbackLayoutProvider)) {}

void TilingController::connectOverlayPresenter(std::shared_ptr<SnapBarOverlayPresenting> presenter) {
    platform::requireMainThread("TilingController::connectOverlayPresenter");
    onShowOverlay = [presenter](const DisplayDescriptor& display, const Layout& layout) {
        presenter->showOverlay(display, layout);
    };
    onHighlightTile = [presenter](const std::optional<TileId>& tile) { presenter->highlight(tile); };
    onHideOverlay = [presenter] { presenter->hideOverlay(); };
}

void TilingController::setTransientLayout(const Layout& layout, const DisplayId& displayId) {
    platform::requireMainThread("TilingController::setTransientLayout");
    transientLayoutsByDisplay.insert_or_assign(displayId, layout);
    tilingLog("setTransientLayout displayId=" + displayId.rawValue + " layout=" + layout.name +
              " tiles=" + std::to_string(layout.tiles.size()));
}

void TilingController::clearTransientLayout(const DisplayId& displayId) {
    platform::requireMainThread("TilingController::clearTransientLayout");
    transientLayoutsByDisplay.erase(displayId);
    tilingLog("clearTransientLayout displayId=" + displayId.rawValue);
}

std::optional<DisplayDescriptor> TilingController::displayUnder(platform::CGPoint point) const {
    auto displays = displayProvider->currentDisplays();
    if (displays.empty()) return std::nullopt;
    for (auto& display : displays) {
        const Rect& b = display.bounds;
        if (point.x >= b.x && point.x <= b.x + b.width && point.y >= b.y && point.y <= b.y + b.height)
            return std::move(display);
    }
    return std::move(displays.front());
}

std::optional<Tile> TilingController::tileUnder(platform::CGPoint point) const {
    if (!dragState) return std::nullopt;
    const Rect& b = dragState->display.bounds;
    const double width = b.width;
    const double height = b.height;
    // Written so that NaN sizes also give no tile.
    if (!(width > 0) || !(height > 0)) return std::nullopt;
    const double u = (point.x - b.x) / width;
    const double v = (b.y + height - point.y) / height; // from the top, like the tiles
    for (const auto& tile : dragState->layout.tiles) {
        const Rect& f = tile.normalizedFrame;
        if (f.x <= u && u <= f.x + f.width && f.y <= v && v <= f.y + f.height) return tile;
    }
    return std::nullopt;
}

bool TilingController::beginDrag(const std::optional<WindowId>& windowId, platform::CGPoint dragStartPoint) {
    platform::requireMainThread("TilingController::beginDrag");
    auto display = displayUnder(dragStartPoint);
    if (!display) return false;
    const auto found = transientLayoutsByDisplay.find(display->id);
    if (found == transientLayoutsByDisplay.end()) {
        tilingLog("beginDrag skipped (no layout) window=" + windowText(windowId) +
                  " displayId=" + display->id.rawValue);
        return false;
    }
    const Layout layout = found->second;
    tilingLog("beginDrag window=" + windowText(windowId) + " display=" + display->name +
              " id=" + display->id.rawValue + " layout=" + layout.name +
              " tiles=" + std::to_string(layout.tiles.size()));
    dragState = DragState{windowId, *display, layout};
    if (onShowOverlay) onShowOverlay(*display, layout);
    updateDrag(dragStartPoint);
    return true;
}

void TilingController::updateDrag(platform::CGPoint pointer) {
    platform::requireMainThread("TilingController::updateDrag");
    if (!dragState) return;
    const auto tile = tileUnder(pointer);
    if (!onHighlightTile) return;
    if (tile)
        onHighlightTile(tile->id);
    else
        onHighlightTile(std::nullopt);
}

void TilingController::endDrag(platform::CGPoint pointer) {
    platform::requireMainThread("TilingController::endDrag");
    if (!dragState) return;
    try {
        updateDrag(pointer);
        const auto tile = tileUnder(pointer);
        const DragState drag = *dragState;
        if (!tile) {
            tilingLog("endDrag noTile window=" + windowText(drag.windowId) +
                      " displayId=" + drag.display.id.rawValue);
        } else {
            tilingLog("endDrag snap window=" + windowText(drag.windowId) + " -> " +
                      tile->label.value_or("(unlabeled)"));
            const Rect target = tilingEngine->rect(*tile, drag.display);
            if (drag.windowId) {
                windowMutator->moveAndResize(*drag.windowId, target);
            } else if (frontmostWindowMover) {
                tilingLog("endDrag applying via frontmostWindowMover");
                frontmostWindowMover(target);
            } else {
                tilingLog("endDrag skipped: no windowId and no frontmostWindowMover");
            }
        }
    } catch (...) {
        // A failing move must not leave the overlay up or the drag state behind.
        finishDrag();
        throw;
    }
    finishDrag();
}

void TilingController::cancelDrag() {
    platform::requireMainThread("TilingController::cancelDrag");
    if (!dragState) return;
    finishDrag();
}

void TilingController::finishDrag() {
    dragState.reset();
    if (onHideOverlay) onHideOverlay();
    if (onHighlightTile) onHighlightTile(std::nullopt);
}

Layout TilingController::defaultHalvesLayout(const DisplayDescriptor& display) {
    Layout layout{LayoutId(platform::UUID()), "Default Halves", display.id, {}};
    layout.tiles.push_back(
        Tile{TileId(platform::UUID()), display.id, Rect{0, 0, 0.5, 1.0}, std::string("Left")});
    layout.tiles.push_back(
        Tile{TileId(platform::UUID()), display.id, Rect{0.5, 0, 0.5, 1.0}, std::string("Right")});
    return layout;
}

} // namespace tilmora
