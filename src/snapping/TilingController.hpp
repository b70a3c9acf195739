#pragma once

#include "model/DisplayDescriptor.hpp"
#include "model/DisplayId.hpp"
#include "model/DisplayProvider.hpp"
#include "model/Layout.hpp"
#include "model/LayoutStore.hpp"
#include "model/Rect.hpp"
#include "model/TileId.hpp"
#include "model/WindowId.hpp"
#include "model/WindowMutator.hpp"
#include "model/WindowProvider.hpp"
#include "platform/desktop/Geometry.hpp"
#include "snapping/SnapBarOverlayPresenting.hpp"
#include "snapping/TilingEngine.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>

namespace tilmora {

/// Drops a dragged window into a tile of a display's preset layout. The shell gives a display a
/// transient layout (the preset grid the user applied to it); while one exists, the snap grid's
/// drag pipeline hands a window drag over that display to the controller: `beginDrag` shows the
/// layout's tiles in an overlay, `updateDrag` highlights the tile under the pointer on every
/// sampling tick, and `endDrag` moves the window into that tile (through the window mutator when
/// the window id is known, else through `frontmostWindowMover`) and takes the overlay down.
/// `cancelDrag` ends a drag without moving anything.
///
/// Points and display bounds are global desktop coordinates: points, origin at the bottom-left of
/// the main display, y up. A tile's normalized frame holds fractions of its display's visible
/// frame with y measured down from the top edge.
///
/// Logging: while `settings::verboseLogging` is a stored true (`TLog::verbose`), every step prints a line
/// beginning with "[VESK][TILING] " through `print`; otherwise nothing.
///
/// Main thread only (Debug builds check it: "TilingController::<call> must be called on the main
/// thread"). No locks.
class TilingController {
public:
    /// The drag the controller has taken: the dragged window (absent when unknown), the display
    /// under the drag's start point and that display's transient layout, fixed at `beginDrag`.
    struct DragState {
        std::optional<WindowId> windowId;
        DisplayDescriptor display;
        Layout layout;
    };

    using FallbackLayoutProvider = std::function<Layout(const DisplayDescriptor&)>;
    /// Moves the frontmost window to a rectangle in global coordinates.
    using FrontmostWindowMover = std::function<void(const Rect&)>;

    /// `layoutStore` may be null; it and `fallbackLayoutProvider` are kept for the shell and not
    /// read by any call here, and neither is `windowProvider`. Starts idle with no transient
    /// layouts, no mover and no overlay callbacks.
    TilingController(std::shared_ptr<DisplayProvider> displayProvider,
                     std::shared_ptr<WindowProvider> windowProvider,
                     std::shared_ptr<WindowMutator> windowMutator, std::shared_ptr<TilingEngine> tilingEngine,
                     std::shared_ptr<LayoutStore> layoutStore,
                     FallbackLayoutProvider fallbackLayoutProvider = &TilingController::defaultHalvesLayout);

    TilingController(const TilingController&) = delete;
    TilingController& operator=(const TilingController&) = delete;

    /// Sets the three overlay callbacks to drive `presenter` (kept by the callbacks): show builds
    /// the overlay of the display with nothing highlighted, highlight sets the id on every open
    /// overlay, hide takes them all down.
    void connectOverlayPresenter(std::shared_ptr<SnapBarOverlayPresenting> presenter);

    /// Stores or replaces the display's transient layout. Logs "[VESK][TILING] setTransientLayout
    /// displayId=<id> layout=<name> tiles=<count>".
    void setTransientLayout(const Layout& layout, const DisplayId& displayId);
    /// Removes the display's transient layout, if any. Logs "[VESK][TILING] clearTransientLayout
    /// displayId=<id>".
    void clearTransientLayout(const DisplayId& displayId);

    /// Takes a drag that starts at `dragStartPoint` when the display under it (the first one
    /// containing it, edges included; else the first display) has a transient layout: stores the
    /// drag state, shows the overlay, highlights the tile under the point and returns true.
    /// Declines with false when there is no display, or, logging "[VESK][TILING] beginDrag skipped
    /// (no layout) window=<id or nil> displayId=<id>", when the display has no transient layout.
    /// A call while dragging replaces the drag state and shows the overlay again.
    bool beginDrag(const std::optional<WindowId>& windowId, platform::CGPoint dragStartPoint);
    /// Highlights the tile under `pointer` (none: nil) through `onHighlightTile`, on every call,
    /// whether or not it changed. Does nothing while idle.
    void updateDrag(platform::CGPoint pointer);
    /// Ends the drag: highlights, then moves the window into the tile under `pointer` (none: moves
    /// nothing, logs "[VESK][TILING] endDrag noTile ..."), then clears the drag state and calls
    /// `onHideOverlay` and `onHighlightTile(nil)`; the clean-up also runs when the move throws.
    /// Does nothing while idle.
    void endDrag(platform::CGPoint pointer);
    /// Ends the drag without moving anything: clears the drag state, calls `onHideOverlay`, then
    /// `onHighlightTile(nil)`. Does nothing while idle. Logs nothing.
    void cancelDrag();

    /// The tile of the drag's layout under `point`: the first, in layout order, whose normalized
    /// frame holds the point (all four edges included, so a point on a shared border belongs to
    /// the earlier tile); none while idle, on a display without positive width and height, or
    /// outside every tile.
    std::optional<Tile> tileUnder(platform::CGPoint point) const;

    /// A layout with a new id named "Default Halves" for the display: "Left" (0, 0, 0.5, 1.0), then
    /// "Right" (0.5, 0, 0.5, 1.0), both tiles with new ids and the display's id.
    static Layout defaultHalvesLayout(const DisplayDescriptor& display);

    std::shared_ptr<DisplayProvider> displayProvider;
    std::shared_ptr<WindowProvider> windowProvider;
    std::shared_ptr<WindowMutator> windowMutator;
    std::shared_ptr<TilingEngine> tilingEngine;
    std::shared_ptr<LayoutStore> layoutStore;
    FallbackLayoutProvider fallbackLayoutProvider;
    /// Set by the shell; unset, a drop of a window without id moves nothing.
    FrontmostWindowMover frontmostWindowMover;
    /// Present from a successful `beginDrag` until the drag ends.
    std::optional<DragState> dragState;
    /// The transient layout of each display. The drag tick reads it; the shell may erase an entry
    /// directly (without a log line).
    std::unordered_map<DisplayId, Layout> transientLayoutsByDisplay;
    std::function<void(const DisplayDescriptor&, const Layout&)> onShowOverlay;
    std::function<void(const std::optional<TileId>&)> onHighlightTile;
    std::function<void()> onHideOverlay;

private:
    /// The display under `point`, edges included; the first display when none holds it; none
    /// without displays.
    std::optional<DisplayDescriptor> displayUnder(platform::CGPoint point) const;
    /// Clears the drag state, then hides the overlay and clears the highlight.
    void finishDrag();
};

} // namespace tilmora
