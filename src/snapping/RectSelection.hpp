#pragma once

#include "model/SnapIconKind.hpp"
#include "platform/desktop/NSScreen.hpp"

#include <optional>

namespace tilmora {

class RoriDeru;

/// The rect selection of the snap grid: the snap kind the user last chose from the menu, the snap
/// bar or a shortcut, kept per display number (`selectedKindByDisplay`, with the display of the
/// latest choice in `lastRectPresetDisplay`) or, in all-displays scope ("WMGridAllDisplays"), once
/// for all displays (`globalSelectedKind`). The scope is read at the start of every call. Every
/// change of the effective selection posts `RoriDeru::selectedKindDidChangeNotification` once,
/// with the snap grid as object. Works on the fields of the given snap grid; holds no state of its
/// own. Main thread. Logs through `SnapLog` ("PRESET" lines while "WMVerboseLogging" is true).
namespace RectSelection {

/// The selected kind: the global one in all-displays scope; otherwise the kind of
/// `lastRectPresetDisplay` when it has one, else the kind of the lowest display number, else none.
std::optional<SnapIconKind> selectedKind(const RoriDeru& grid);

/// The kind selected for `screen`: the global one in all-displays scope; otherwise the entry of its
/// display number (none without screen, number or entry). Logs the fetch line.
std::optional<SnapIconKind> selectedKindFor(RoriDeru& grid, const std::optional<platform::NSScreen>& screen);

/// Whether a kind applies to `screen`: any global kind in all-displays scope; otherwise whether its
/// display has an entry. Logs the lookup line.
bool applies(RoriDeru& grid, const std::optional<platform::NSScreen>& screen);

/// Sets `kind` (none clears) for `screen`, or for `RoriDeru::preferredScreenForSelection()` without
/// one; in all-displays scope sets the global kind, and clearing a set global kind also empties the
/// per-display map and `lastRectPresetDisplay`. A per-display call writes the entry and
/// `lastRectPresetDisplay` even when the kind does not change ("no-change" line, nothing posted).
void set(RoriDeru& grid, std::optional<SnapIconKind> kind, const std::optional<platform::NSScreen>& screen);

/// Clears the selection of the current scope; nothing happens (no line, no post) when it is empty.
void clearAll(RoriDeru& grid);

/// When the scope differs from `cachedLayoutScopeAllDisplays`: to all displays, the preferred
/// screen's kind (else the lowest display's) becomes the global kind when none is set, the map is
/// emptied, and a global kind is announced; to one display, a global kind moves to the preferred
/// screen (else `preferredScreenForSelection()`), or is dropped when there is no such screen with
/// a display number, and is announced and logged either way. The cache then holds the scope.
void migrate(RoriDeru& grid, const std::optional<platform::NSScreen>& preferredScreen);

} // namespace RectSelection

} // namespace tilmora
