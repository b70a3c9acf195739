#pragma once

#include "platform/desktop/NSScreen.hpp"
#include "snapping/GridPreset.hpp"
#include "snapping/PresetEdges.hpp"

#include <cstdint>
#include <optional>
#include <set>

namespace tilmora {

class RoriDeru;

/// Showing, hiding and pruning the snap grid's overlays: at most one per display number in
/// `overlays`, and the per-display maps that say which preset a display shows and why
/// (`activePresets`, `transientPresets`, `customPresetEdges`). Which maps each call changes:
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
/// highlight and debug layers and is ordered out before it is dropped. Main thread only.
namespace OverlayLifecycle {

/// Creates or updates the overlay of `screen` (see `RoriDeru::showOverlay`). Logs the skip of a
/// display where snapping is not activated ("[RoriDeru] Skip overlay on <name> — snapping not
/// activated", verbose only), the "[OVERLAY] showOverlay ..." line while `settings::overlayDebug` is on,
/// and ("TILING") "Show overlay on ...", the screen's geometry and its tiles.
void show(RoriDeru& grid, const platform::NSScreen& screen, const GridPreset& preset, bool force,
          bool markActive, const std::optional<PresetEdges>& customEdges);

/// Shows `preset` as the active preset on every screen where snapping is activated, with grid
/// lines while a grid preset is marked in the menu; logs a skip line (verbose) for the others.
void showOnAllDisplays(RoriDeru& grid, const GridPreset& preset);

/// Retires the overlays of displays not in `keeping`: a display still present is hidden as with
/// `hide(..., false)`; a display that is gone loses its overlay and every preset entry, without a
/// log line. An empty `keeping` changes nothing.
void prune(RoriDeru& grid, const std::set<std::uint32_t>& keeping);

/// Drops the transient presets of displays not in `keeping`; an empty `keeping` changes nothing.
void pruneTransientPresets(RoriDeru& grid, const std::set<std::uint32_t>& keeping);

/// Retires the overlay of `screen` and forgets its transient preset and custom edges, with
/// `clearPreset` also its active preset; logs "Hide overlay on <name> (id=<n>)" ("TILING").
/// Nothing happens, and nothing is logged, when the display has no overlay.
void hide(RoriDeru& grid, const platform::NSScreen& screen, bool clearPreset);

/// Retires every overlay and forgets the transient presets, with `clearPresets` also the active
/// presets and custom edges; logs "Hide all overlays (monitoring stays active)" ("TILING").
void hideAll(RoriDeru& grid, bool clearPresets);

} // namespace OverlayLifecycle

} // namespace tilmora
