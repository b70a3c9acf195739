#pragma once

#include "model/Rect.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "snapping/GridPreset.hpp"
#include "snapping/OverlayWindow.hpp"
#include "snapping/PresetEdges.hpp"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace tilmora {

class DragMonitors;
class PresetActivation;
class PresetMarking;
class RectSelection;
class SnapGridSeam;

/// The snap grid's overlays and the per-display maps that say which preset a display shows and
/// why: at most one overlay per display number, the active presets (applied to or shown on a
/// display), the transient presets (shown only for the current drag) and the custom cell edges
/// that replace a display's even grid; and whether overlays draw their debug layers. Owns them all;
/// the snap grid holds one. Which maps each call changes:
///
/// | call                            | overlays | activePresets | transientPresets | customPresetEdges |
/// |---------------------------------|----------|---------------|------------------|-------------------|
/// | show, markActive false          | set      | -             | set              | set if given      |
/// | show, markActive true           | set      | set           | removed          | set if given      |
/// | hide, clearPreset false         | removed  | -             | removed          | removed           |
/// | hide, clearPreset true          | removed  | removed       | removed          | removed           |
/// | hideAll, clearPresets false     | emptied  | -             | emptied          | -                 |
/// | hideAll, clearPresets true      | emptied  | emptied       | emptied          | emptied           |
/// | prune, display present          | as hide with clearPreset false                                   |
/// | prune, display gone             | removed  | removed       | removed          | removed           |
/// | pruneTransientPresets           | -        | -             | removed outside  | -                 |
///
/// A screen without a display number is ignored by every call. A retired overlay always loses its
/// highlight and debug layers and is ordered out before it is dropped. Hiding on a display that is
/// still present goes through the seam's `hideOverlay`, and showing on every display through its
/// `showOverlay`, so that a seam replacing them sees every such call. Main thread only.
class OverlayLifecycle {
public:
    using Overlays = std::map<std::uint32_t, std::shared_ptr<OverlayWindow>>;
    using Presets = std::map<std::uint32_t, GridPreset>;
    using Edges = std::map<std::uint32_t, PresetEdges>;

    /// No overlay and no preset. Shows and hides through `seam` where a call spans displays, starts
    /// `monitors` when an overlay shows; the activated displays, the menu mark and the selection
    /// given decide what an overlay shows.
    OverlayLifecycle(SnapGridSeam& seam, DragMonitors& monitors, const PresetActivation& activation,
                     const PresetMarking& marking, const RectSelection& selection);
    OverlayLifecycle(const OverlayLifecycle&) = delete;
    OverlayLifecycle& operator=(const OverlayLifecycle&) = delete;

    /// Creates or updates the overlay of `screen`'s display with `preset`: unless `force`, only on a
    /// display where snapping was activated; `markActive` makes the preset active instead of
    /// transient; `customEdges` replace the even grid. The grid lines show (when forced or a preset
    /// is marked in the menu) only while no snap kind is selected for the display. Orders the
    /// overlay in now and once more on the main queue, then starts the drag monitors when snapping
    /// is on and they are not installed. Logs the skip of a display where snapping is not activated
    /// ("[RoriDeru] Skip overlay on <name> — snapping not activated", verbose only), the "[OVERLAY]
    /// showOverlay ..." line while `settings::overlayDebug` is on, and ("TILING") "Show overlay on
    /// ...", the screen's geometry and its tiles.
    void show(const platform::NSScreen& screen, const GridPreset& preset, bool force, bool markActive,
              const std::optional<PresetEdges>& customEdges);

    /// Shows `preset` as the active preset on every screen where snapping is activated, with grid
    /// lines while a grid preset is marked in the menu; logs a skip line (verbose) for the others.
    void showOnAllDisplays(const GridPreset& preset);

    /// Retires the overlays of displays not in `keeping`: a display still present is hidden as with
    /// `hide(..., false)`; a display that is gone loses its overlay and every preset entry, without a
    /// log line. An empty `keeping` changes nothing.
    void prune(const std::set<std::uint32_t>& keeping);

    /// Drops the transient presets of displays not in `keeping`; an empty `keeping` changes nothing.
    void pruneTransientPresets(const std::set<std::uint32_t>& keeping);

    /// Retires the overlay of `screen` and forgets its transient preset and custom edges, with
    /// `clearPreset` also its active preset; logs "Hide overlay on <name> (id=<n>)" ("TILING").
    /// Nothing happens, and nothing is logged, when the display has no overlay.
    void hide(const platform::NSScreen& screen, bool clearPreset);

    /// Retires every overlay and forgets the transient presets, with `clearPresets` also the active
    /// presets and custom edges; logs "Hide all overlays (monitoring stays active)" ("TILING").
    void hideAll(bool clearPresets);

    /// Tears down the overlay of a display that is no longer connected and forgets its active
    /// preset (its transient preset and custom edges stay), without a log line.
    void retireDeparted(std::uint32_t display);

    /// Takes every overlay out of the map, leaving it empty, and hands them to the caller (which
    /// retires them); the preset maps stay.
    Overlays takeOverlays();

    /// Adopts `overlay` as the overlay of `display`, replacing any without retiring it.
    void adopt(std::uint32_t display, std::shared_ptr<OverlayWindow> overlay) {
        overlays_[display] = std::move(overlay);
    }

    /// Moves every overlay of a current screen onto that screen's frame and orders it front.
    void reframeAll();
    /// Sets the grid opacity of every overlay.
    void setGridOpacityAll(double opacity);

    // The per-display presets.

    void setActivePreset(std::uint32_t display, const GridPreset& preset) {
        activePresets_[display] = preset;
    }
    void setTransientPreset(std::uint32_t display, const GridPreset& preset) {
        transientPresets_[display] = preset;
    }
    void setCustomEdges(std::uint32_t display, const PresetEdges& edges) {
        customPresetEdges_[display] = edges;
    }
    /// Forgets the active and transient presets and the custom edges of `display`.
    void forgetPresets(std::uint32_t display);
    /// Forgets every active and transient preset and every custom edge.
    void forgetAllPresets();

    /// The tile rectangles of `preset` over a display's visible frame (see `GridLayout::tiles`),
    /// the display's custom edges replacing the even grid when they fit. Global coordinates, points.
    std::vector<Rect> tiles(const Rect& visible, double scale, std::optional<std::uint32_t> display,
                            const GridPreset& preset) const;
    /// The same over `screen`'s visible frame, scale and display number.
    std::vector<Rect> tiles(const platform::NSScreen& screen, const GridPreset& preset) const;

    // Debug layers.

    /// Whether overlays draw their debug layers.
    bool debugEnabled() const { return debugEnabled_; }
    /// Stores the flag; switching it off clears the debug layers of every overlay.
    void setDebugEnabled(bool enabled);

    // Reading the state.

    const Overlays& overlays() const { return overlays_; }
    /// The overlay of `display`; null when it has none.
    std::shared_ptr<OverlayWindow> overlay(std::uint32_t display) const;
    bool hasOverlay(std::uint32_t display) const { return overlays_.count(display) > 0; }
    const Presets& activePresets() const { return activePresets_; }
    const Presets& transientPresets() const { return transientPresets_; }
    const Edges& customPresetEdges() const { return customPresetEdges_; }
    std::optional<GridPreset> activePreset(std::uint32_t display) const;
    std::optional<GridPreset> transientPreset(std::uint32_t display) const;

private:
    bool snappingActivated(const platform::NSScreen& screen) const;
    void logShown(const platform::NSScreen& screen, std::uint32_t display, const GridPreset& preset) const;

    SnapGridSeam& seam_;
    DragMonitors& monitors_;
    const PresetActivation& activation_;
    const PresetMarking& marking_;
    const RectSelection& selection_;
    Overlays overlays_;
    Presets activePresets_;
    Edges customPresetEdges_;
    Presets transientPresets_;
    bool debugEnabled_ = false;
    /// Expires with this object, for the blocks it leaves on the main queue.
    std::shared_ptr<OverlayLifecycle*> lifetime_;
};

} // namespace tilmora
