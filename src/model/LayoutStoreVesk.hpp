#pragma once

#include "model/Layout.hpp"
#include "model/LayoutStore.hpp"
#include "model/VeskPreset.hpp"

#include "platform/foundation/Uuid.hpp"

#include <string>
#include <vector>

namespace tilmora {

// The preset bridge: the preset-grid editor's presets are kept as ordinary layouts in a layout
// store. A preset's id is the layout id, its name the layout name, its tiles the layout's tiles
// (tile name = tile label, rectangle = normalized frame). Nothing marks a layout as a preset, so
// every layout of a display lists as one of its presets: kind single tile when it has exactly one
// tile, else grid; sort order 0. Main thread; each call blocks on the store's queue.

/// The presets of a display (display keys compared as canonically equivalent text), the last of
/// each id, sorted by name as the user's language orders it, ignoring case
/// (`platform::Text::localizedCaseInsensitiveCompare`: in Swedish "å" after "z"), ties by the
/// upper-case id text. Tiles get new ids on every listing; a tile
/// without a label takes the localized "layoutEditor.tile.defaultName". A store that fails lists
/// nothing. Logs "[VESK][STORE] load displayId=... presets=N (raw=M)" while verbose.
std::vector<VeskPreset> veskPresets(LayoutStore& store, const DisplayId& displayId);
/// The same over `layouts` as a store's `allLayouts()` gave them (read once for several listings).
std::vector<VeskPreset> veskPresets(const std::vector<Layout>& layouts, const DisplayId& displayId);

/// Stores `preset` as a layout of `displayId` (the preset's own display id, kind and sort order
/// are not kept; its tiles get new tile ids). Throws what the store's save throws, logging nothing;
/// on success logs "[VESK][STORE] save displayId=... id=... name=... kind=... tiles=N" while verbose.
void saveVeskPreset(LayoutStore& store, const VeskPreset& preset, const DisplayId& displayId);

/// Removes the layout with that id. Throws what the store's delete throws, logging nothing; on
/// success logs "[VESK][STORE] delete id=..." while verbose.
void deleteVeskPreset(LayoutStore& store, const platform::UUID& presetId);

/// True only when `settings::verboseLogging` has a value (stored or registered) that reads as true.
bool veskVerboseEnabled();

/// Writes "[VESK][STORE] " and `message` through `print` while `veskVerboseEnabled()`.
void veskLog(const std::string& message);

/// The preset that a stored layout reads as.
VeskPreset toVeskPreset(const Layout& layout);

/// The layout that stores `preset` for `displayId`.
Layout layoutFromVeskPreset(const VeskPreset& preset, const DisplayId& displayId);

} // namespace tilmora
