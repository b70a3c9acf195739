#pragma once

#include "platform/desktop/NSScreen.hpp"
#include "snapping/GridPreset.hpp"

#include <optional>

namespace tilmora {

class RoriDeru;

/// The grid preset ticked in the status menu: one for all displays
/// (`gridPresetMarkedPresetAllDisplays`, in all-displays scope) or one per display number
/// (`gridPresetMarkedPresetsByDisplay`), with `markGridPresetInMenu` saying whether anything is
/// ticked (it also decides whether overlay grid lines show). The scope ("WMGridAllDisplays") is
/// read at every call. Works on the fields of the given snap grid; holds no state. Main thread;
/// logs nothing itself.
namespace PresetMarking {

/// on: marks the active preset of `screen`'s display (or of the preferred screen without one),
/// else its stored preset; all-displays scope without such a screen unmarks instead, per-display
/// scope without one changes nothing. off, all displays: unmarks and hides every overlay, clearing
/// their presets. off, per display: forgets the display's marked, active, transient and custom
/// presets and hides its overlay (clearing its preset); the mark stays on while another display is
/// marked. off without a screen with a display number in per-display scope clears every mark and
/// overlay (`clear(grid, true)`).
void setMark(RoriDeru& grid, bool on, const std::optional<platform::NSScreen>& screen);

/// Whether the menu ticks `preset` for `screen`: only while something is marked, and only when all
/// four fields equal the marked preset of the scope (per display: of `screen`'s display).
bool shouldMark(const RoriDeru& grid, const GridPreset& preset,
                const std::optional<platform::NSScreen>& screen);

/// The marked preset of the scope: the all-displays one, or the one of the lowest display number.
std::optional<GridPreset> marked(const RoriDeru& grid);

/// Unmarks everything and empties the active, transient and custom-edged presets; with
/// `removeOverlays`, also tears every overlay down and empties `overlays`. The rect selection stays.
void clear(RoriDeru& grid, bool removeOverlays);

} // namespace PresetMarking

} // namespace tilmora
