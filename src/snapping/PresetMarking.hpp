#pragma once

#include "platform/desktop/NSScreen.hpp"
#include "snapping/GridPreset.hpp"

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace tilmora {

class LayoutTargets;
class OverlayLifecycle;
class SnapGridSeam;

/// The grid preset ticked in the status menu: one for all displays (in all-displays scope) or one
/// per display number, with a flag saying whether anything is ticked (it also decides whether
/// overlay grid lines show); and the status menu's one-shot request to skip its next selection
/// update. The scope (`settings::gridAllDisplays`) is read at every call. Owns the marks; the snap grid
/// holds one. Switching a mark off forgets presets in the overlays' component and hides overlays
/// through the seam. Main thread; logs nothing itself.
class PresetMarking {
public:
    /// The marks as stored.
    struct State {
        /// A grid preset is ticked in the status menu.
        bool inMenu = false;
        /// The marked preset while the scope is all displays.
        std::optional<GridPreset> allDisplays;
        /// The marked preset per display.
        std::map<std::uint32_t, GridPreset> byDisplay;
    };

    /// No mark, no skip request, over the presets and overlays of `overlays` (hidden through
    /// `seam`); a call without a screen marks the preferred screen of `targets`.
    PresetMarking(SnapGridSeam& seam, LayoutTargets& targets, OverlayLifecycle& overlays);

    /// on: marks the active preset of `screen`'s display (or of the preferred screen without one),
    /// else its stored preset; all-displays scope without such a screen unmarks instead,
    /// per-display scope without one changes nothing. off, all displays: unmarks and hides every
    /// overlay, clearing their presets. off, per display: forgets the display's marked, active,
    /// transient and custom presets and hides its overlay (clearing its preset); the mark stays on
    /// while another display is marked. off without a screen with a display number in per-display
    /// scope clears every mark and overlay (`clear(true)`).
    void setMark(bool on, const std::optional<platform::NSScreen>& screen);

    /// The same as `setMark(false, ...)` for several targets: in all-displays scope unmarks and
    /// hides every overlay once; otherwise switches each target off in turn.
    void switchOff(const std::vector<platform::NSScreen>& targets);

    /// Whether the menu ticks `preset` for `screen`: only while something is marked, and only when
    /// all four fields equal the marked preset of the scope (per display: of `screen`'s display).
    bool shouldMark(const GridPreset& preset, const std::optional<platform::NSScreen>& screen) const;

    /// The marked preset: the all-displays one in that scope, else the one of the lowest display
    /// number; none when nothing is marked.
    std::optional<GridPreset> marked() const;

    /// Unticks everything and forgets every active, transient and custom-edged preset; with
    /// `removeOverlays` also tears every overlay down (the map is emptied before the teardowns).
    void clear(bool removeOverlays);

    /// Whether a grid preset is ticked in the menu.
    bool inMenu() const { return state_.inMenu; }

    /// Asks the status menu to skip its next selection update once.
    void suppressSelectionOnce() { suppressSelection_ = true; }
    /// Whether a skip was asked for since the last call; clears the request.
    bool consumeSuppressSelection();

    /// The marks as stored.
    const State& state() const { return state_; }
    /// Replaces the stored marks as they are, hiding or showing nothing.
    void restore(const State& state) { state_ = state; }

private:
    void switchDisplayOff(std::uint32_t display, const platform::NSScreen& screen);

    SnapGridSeam& seam_;
    LayoutTargets& targets_;
    OverlayLifecycle& overlays_;
    State state_;
    bool suppressSelection_ = false;
};

} // namespace tilmora
