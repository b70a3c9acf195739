#pragma once

#include "model/Rect.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/input/NSEvent.hpp"
#include "snapping/GridPreset.hpp"

#include <cstdint>
#include <optional>

namespace tilmora {

class RoriDeru;
class OverlayWindow;

/// The drag pipeline of the snap grid: the session that a left-button drag of another
/// application's window starts, the sampling tick that runs 90 times a second while it lasts, and
/// the drop on release. Works on the drag fields of the given snap grid; holds no state of its own.
/// Main thread only (the global monitors and the timer deliver on the main run loop).
///
/// Rectangles and points are global: points, origin at the bottom-left of the main display, y up.
/// Display maps are keyed by display number, 0 for a screen without one. Lines go through `TLog`
/// with the tag "TILING" (while "WMVerboseLogging" is true) and `RoriDeru::olog`.
namespace DragSession {

/// Sampling interval of the drag tick, seconds.
inline constexpr double sampleInterval = 1.0 / 90;

/// A left-mouse-dragged event: with snapping on, and with Option held when "WMDragRequireOption"
/// asks for it, the first event of a drag starts a session (start location = the pointer, then
/// `startSampling`); later events change nothing. A drag whose first event lacks a required
/// Option starts no session until the button is released (`dragRefusedForOption`).
void handleDragged(RoriDeru& grid, const platform::NSEvent& event);

/// Restarts the sampling timer (1/90 s, repeating, main run loop in the common modes), records
/// the target window's frame as the start frame (may be absent) and clears `windowMoveDetected`.
void startSampling(RoriDeru& grid);

/// One tick of the session: pointer threshold, window move, overlays to show, the tiling
/// controller's drag, the overlay under the drag and its highlight.
void tick(RoriDeru& grid);

/// The release: ends a tiling-controller drag, or snaps the window when the drag counted and the
/// window moved; then hides the highlights, empties the per-display maps, removes the overlays
/// the session created and returns the session to idle. Nothing happens without a session.
void handleMouseUp(RoriDeru& grid);

/// Starts a session without the monitors (nothing when one runs).
void beginExternalDrag(RoriDeru& grid);

/// The snap at release: moves the target window into the tile or kind rectangle under the drop.
void snapOnDrop(RoriDeru& grid);

/// Shows an overlay on `screen` for the drop when its display needs one and has none.
void ensureOverlayForDrag(RoriDeru& grid, const std::optional<platform::NSScreen>& screen);

/// Ends a running session without a drop: stops the timer, ends a tiling-controller drag without
/// placing anything and clears the session's thresholds and per-display maps. Overlays stay.
void abandon(RoriDeru& grid);

/// Hides the highlight of every overlay; also its debug read-out unless debugging is on.
void hideAllHighlights(RoriDeru& grid);

/// The display number a display map uses for `screen`: its display number, else 0.
std::uint32_t displayKey(const platform::NSScreen& screen);

/// The first screen whose frame contains the pointer (right and top edges left out).
std::optional<platform::NSScreen> pointerScreen();

} // namespace DragSession

} // namespace tilmora
