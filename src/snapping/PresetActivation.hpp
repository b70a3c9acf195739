#pragma once

#include "platform/desktop/NSScreen.hpp"
#include "snapping/GridPreset.hpp"

#include <optional>
#include <string>

namespace tilmora {

class RoriDeru;

/// Activating snapping on a display and applying a grid preset to it. A display is activated when
/// its display key (`displayKey`) is in `enabledSnapDisplayKeys`; it stays so for the run. Works on
/// the fields of the given snap grid and through its overlay seams; holds no state. Main thread.
/// Logs through `SnapLog::logSnapState` ("[RoriDeru] " lines while `settings::verboseLogging` is true).
namespace PresetActivation {

/// Seconds after which a preset applied to a display without an overlay hides the overlay again.
inline constexpr double flashSeconds = 1.3;

/// The display key of a screen: its display signature's key segment ("1-2880x1800", the number or
/// "unknown", "-", pixel width, "x", pixel height); none for a screen of zero size.
std::optional<std::string> displayKey(const platform::NSScreen& screen);

/// Inserts the screen's display key into `enabledSnapDisplayKeys` and logs "Activated snapping on
/// <name> [key=<key>]"; a screen of zero size is ignored silently.
void activate(RoriDeru& grid, const platform::NSScreen& screen);

/// Applies `preset` to `screen`'s display (nothing without a display number):
/// 1. activate false: unless the display is activated, logs "Skip preset apply on <name> —
///    snapping not activated" and stops; activate true: activates it first;
/// 2. stores the preset under "WMPreset_<display>" and makes it the display's active preset;
/// 3. with an overlay on the display: moves its window onto the screen's frame, points the view at
///    the screen, gives it the preset's rows, cols and gutter and marks it for layout; with `flash`
///    the grid shows (opacity 1); and stops;
/// 4. otherwise shows the overlay (`showOverlay`, forced when activating, marked active; with
///    `flash` its grid shows) and, unless a drag runs now, hides it again `flashSeconds` later on
///    the main queue (keeping the active preset). That hide does not look at the drag again, and
///    does nothing once the snap grid is gone.
void apply(RoriDeru& grid, const GridPreset& preset, const platform::NSScreen& screen, bool flash,
           bool activate);

} // namespace PresetActivation

} // namespace tilmora
