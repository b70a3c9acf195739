#pragma once

#include "model/Rect.hpp"
#include "model/WindowId.hpp"
#include "platform/desktop/Geometry.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/dispatch/Timer.hpp"
#include "platform/input/NSEvent.hpp"
#include "snapping/DragTargeting.hpp"
#include "snapping/GridPreset.hpp"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace tilmora {

class ActiveApplicationTracker;
class GridWindowMover;
class LayoutTargets;
class OverlayLifecycle;
class OverlayWindow;
class PresetMarking;
class RectSelection;
class SnapGridSeam;
class TilingController;
struct SnapSwitches;

/// The drag pipeline of the snap grid: the session that a left-button drag of another
/// application's window starts, the sampling tick that runs 90 times a second while it lasts, and
/// the drop on release. Owns the session's state (the start point and window frame, the
/// thresholds passed, the sampling timer, the hand-off to the tiling controller and the tiles
/// tracked per display); the snap grid holds one. Main thread only (the global monitors and the
/// timer deliver on the main run loop).
///
/// Rectangles and points are global: points, origin at the bottom-left of the main display, y up.
/// Display maps are keyed by display number, 0 for a screen without one. Lines go through `TLog`
/// with the tag "TILING" (while `settings::verboseLogging` is true) and `SnapLog::olog`.
class DragSession {
public:
    /// Sampling interval of the drag tick, seconds.
    static constexpr double sampleInterval = 1.0 / 90;
    /// Pointer travel before a drag counts, points.
    static constexpr double dragThresholdPixels = 12.0;
    /// Window travel before a drag counts as a window move, points.
    static constexpr double windowMoveThreshold = 2.0;

    /// The session's own fields; all return to these values when a session ends.
    struct State {
        /// A left-button drag is in progress.
        bool isDragging = false;
        /// Overlays were created by the current drag, so the drop removes them.
        bool createdOverlaysForDragSession = false;
        /// Pointer position at the first drag event.
        std::optional<platform::CGPoint> dragStartMouseLocation;
        /// The pointer has moved at least `dragThresholdPixels`; sticky for the session.
        bool dragExceededThreshold = false;
        /// The target window's frame when sampling started.
        std::optional<Rect> dragStartWindowRect;
        /// The window handed to the tiling controller's drag.
        std::optional<WindowId> tilingWindowId;
        /// A custom-layout drag runs instead of grid snapping.
        bool tilingDragActive = false;
        /// The window has moved at least `windowMoveThreshold` since the drag began.
        bool windowMoveDetected = false;
        /// The button went down and dragged without a required Option: the rest of that drag
        /// starts no session, even if Option is pressed. Cleared by the mouse-up.
        bool dragRefusedForOption = false;
        /// The drag-sampling timer.
        std::shared_ptr<platform::Timer> sampleTimer;
    };

    /// The tiles the drag tracks per display (see `DragTargeting::Tiles`).
    using Tiles = DragTargeting::Tiles;

    /// An idle session that shows overlays through `seam`, reads the target window with
    /// `applications`' remembered application and picks its displays with `targets`; over
    /// `overlays`, with the kinds `selection` holds, the menu's marks, the drag switches and `mover`
    /// for the drop.
    DragSession(SnapGridSeam& seam, LayoutTargets& targets, ActiveApplicationTracker& applications,
                OverlayLifecycle& overlays, RectSelection& selection, const PresetMarking& marking,
                const SnapSwitches& switches, GridWindowMover& mover);
    /// Stops the sampling timer.
    ~DragSession();
    DragSession(const DragSession&) = delete;
    DragSession& operator=(const DragSession&) = delete;

    /// A left-mouse-dragged event: with snapping on, and with Option held when `settings::dragRequireOption`
    /// asks for it, the first event of a drag starts a session (start location = the pointer, then
    /// `startSampling`); later events change nothing. A drag whose first event lacks a required
    /// Option starts no session until the button is released (`dragRefusedForOption`).
    void handleDragged(const platform::NSEvent& event);

    /// Restarts the sampling timer (1/90 s, repeating, main run loop in the common modes; each fire
    /// runs `tick` while this session exists), records the target window's frame as the start frame
    /// (may be absent) and clears `windowMoveDetected`.
    void startSampling();

    /// One tick of the session: pointer threshold, window move, overlays to show, the tiling
    /// controller's drag, the overlay under the drag and its highlight.
    void tick();

    /// The release: ends a tiling-controller drag, or snaps the window when the drag counted and the
    /// window moved; then hides the highlights, empties the per-display maps, removes the overlays
    /// the session created and returns the session to idle. Nothing happens without a session.
    void handleMouseUp();

    /// Starts a session without the monitors (nothing when one runs).
    void beginExternalDrag();

    /// The snap at release: moves the target window into the tile or kind rectangle under the drop.
    void snapOnDrop();

    /// Shows an overlay on `screen` for the drop when its display needs one and has none.
    void ensureOverlayForDrag(const std::optional<platform::NSScreen>& screen);

    /// Ends a running session without a drop: stops the timer, ends a tiling-controller drag without
    /// placing anything and clears the session's thresholds and per-display maps. Overlays stay.
    void abandon();

    /// Hides the highlight of every overlay; also its debug read-out unless debugging is on.
    void hideAllHighlights();

    /// Runs `block` once when the running session ends, after everything its release (or
    /// `abandon`) does; at once when no session runs. Blocks run in the order they were given.
    void whenDragEnds(std::function<void()> block);

    /// The tiling controller that takes layout drags (not owned).
    void setTilingController(std::weak_ptr<TilingController> controller) {
        tilingController_ = std::move(controller);
    }

    /// Whether a tiling controller was handed over and still exists.
    bool hasTilingController() const { return !tilingController_.expired(); }

    /// Whether a session runs.
    bool isDragging() const { return state_.isDragging; }
    /// The session's fields as stored.
    const State& state() const { return state_; }
    /// Replaces the session's fields as they are, starting or stopping nothing (for putting a
    /// session into a known state).
    void restore(State state) { state_ = std::move(state); }
    /// The tiles tracked per display, which the highlight and the live resize update.
    Tiles& tiles() { return targeting_.tiles(); }
    const Tiles& tiles() const { return targeting_.tiles(); }
    /// What the drag points at: the overlay under it, its tile and the live resize.
    DragTargeting& targeting() { return targeting_; }
    const DragTargeting& targeting() const { return targeting_; }

    /// The display number a display map uses for `screen`: its display number, else 0.
    static std::uint32_t displayKey(const platform::NSScreen& screen);

    /// The first screen whose frame contains the pointer (right and top edges left out).
    static std::optional<platform::NSScreen> pointerScreen();

private:
    void showOverlaysForMove(const Rect& windowRect, const std::optional<platform::NSScreen>& windowScreen,
                             const std::optional<platform::NSScreen>& pointer, bool gridPinned,
                             bool shouldShowOverlay);
    void joinPointerDisplay(const std::optional<platform::NSScreen>& pointer, bool gridPinned);
    void driveTilingController(const std::optional<platform::NSScreen>& pointer,
                               const std::optional<platform::NSScreen>& windowScreen, bool kindApplies,
                               bool gridPinned);
    void hideHighlightsAndForgetTiles();
    void logStatusLine() const;
    /// Runs and forgets the blocks waiting for the session's end.
    void runDragEndBlocks();

    SnapGridSeam& seam_;
    LayoutTargets& targets_;
    ActiveApplicationTracker& applications_;
    OverlayLifecycle& overlays_;
    RectSelection& selection_;
    const PresetMarking& marking_;
    const SnapSwitches& switches_;
    GridWindowMover& mover_;
    DragTargeting targeting_;
    State state_;
    std::weak_ptr<TilingController> tilingController_;
    /// What waits for the running session's end (`whenDragEnds`).
    std::vector<std::function<void()>> dragEndBlocks_;
    /// Expires with this session, for the sampling timer's block.
    std::shared_ptr<DragSession*> lifetime_;
};

} // namespace tilmora
