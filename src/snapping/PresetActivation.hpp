#pragma once

#include "platform/desktop/NSScreen.hpp"
#include "snapping/GridPreset.hpp"

#include <memory>
#include <optional>
#include <set>
#include <string>

namespace tilmora {

class DragSession;
class OverlayLifecycle;
class SnapGridSeam;

/// Activating snapping on a display and applying a grid preset to it. A display is activated when
/// its display key (`displayKey`) is among the activated keys, which this component owns; it stays
/// so for the run. Applies presets through the overlays' component and the seam's overlay calls.
/// Main thread. Logs through `SnapLog::logSnapState` ("[RoriDeru] " lines while
/// `settings::verboseLogging` is true).
class PresetActivation {
public:
    /// Seconds after which a preset applied to a display without an overlay hides the overlay again.
    static constexpr double flashSeconds = 1.3;

    /// No display activated. `overlays` (shown and hidden through `seam`) show the presets; a
    /// running drag of `session` keeps a flashed overlay up until it ends.
    PresetActivation(SnapGridSeam& seam, OverlayLifecycle& overlays, DragSession& session);
    PresetActivation(const PresetActivation&) = delete;
    PresetActivation& operator=(const PresetActivation&) = delete;

    /// The display key of a screen: its display signature's key segment ("1-2880x1800", the number or
    /// "unknown", "-", pixel width, "x", pixel height); none for a screen of zero size.
    static std::optional<std::string> displayKey(const platform::NSScreen& screen);

    /// Inserts the screen's display key into the activated keys and logs "Activated snapping on
    /// <name> [key=<key>]"; a screen of zero size is ignored silently.
    void activate(const platform::NSScreen& screen);

    /// Whether snapping was activated on `screen`'s display (false for a screen of zero size).
    bool isActivated(const platform::NSScreen& screen) const;

    /// Display keys ("1-2880x1800") of the displays on which snapping was activated.
    const std::set<std::string>& enabledSnapDisplayKeys() const { return enabledSnapDisplayKeys_; }

    /// Applies `preset` to `screen`'s display (nothing without a display number):
    /// 1. activate false: unless the display is activated, logs "Skip preset apply on <name> —
    ///    snapping not activated" and stops; activate true: activates it first;
    /// 2. stores the preset under "WMPreset_<display>" and makes it the display's active preset;
    /// 3. with an overlay on the display: moves its window onto the screen's frame, points the view at
    ///    the screen, gives it the preset's rows, cols and gutter and marks it for layout; with `flash`
    ///    the grid shows (opacity 1); and stops;
    /// 4. otherwise shows the overlay (`showOverlay`, forced when activating, marked active; with
    ///    `flash` its grid shows) and, unless a drag runs now, hides it again `flashSeconds` later on
    ///    the main queue (keeping the active preset). When a drag runs by then, the overlay stays
    ///    for that drag and is hidden when the drag ends, unless the drag's end removed it already.
    ///    Nothing is hidden once this object is gone.
    void apply(const GridPreset& preset, const platform::NSScreen& screen, bool flash, bool activate);

private:
    /// The end of a flash on `screen`: hides its overlay now, or when the running drag ends.
    void endFlash(const platform::NSScreen& screen);

    SnapGridSeam& seam_;
    OverlayLifecycle& overlays_;
    DragSession& session_;
    std::set<std::string> enabledSnapDisplayKeys_;
    /// Expires with this object, for the flash's later hide.
    std::shared_ptr<PresetActivation*> lifetime_;
};

} // namespace tilmora
