#pragma once

#include "snapping/GridPreset.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tilmora {

/// The stored form of a display's grid preset: the text "rows,cols,gutter,padding" in the standard
/// user defaults under "WMPreset_" + the display number in decimal. No registered default.
namespace GridPresetStorage {

/// The user-defaults key of a display's preset: "WMPreset_" + display number ("WMPreset_2").
std::string key(std::uint32_t displayID);

/// The stored text of a preset: rows and cols in decimal, gutter and padding in the shortest text
/// that reads back as the same double, whole values with ".0" ("2,3,8.0,0.0"). Pure; any thread.
std::string text(const GridPreset& preset);

/// Reads a stored text. It is split at every ","; empty parts and parts that are not a decimal
/// number filling the whole part (a leading blank, hexadecimal, anything else) are skipped, and
/// exactly four numbers must remain. Rows and cols are truncated toward zero; values below 1 become
/// 1, and a negative or NaN gutter or padding becomes 0 while rows and cols are kept, as the
/// preset's constructor does ("2,3,nan,0" reads as 2, 3, 0, 0). Absent (malformed) when the count
/// is not four, when rows or cols is not finite or above `GridPreset::maxCount` after truncation,
/// or when the gutter or padding is infinite; such an absurd text (four numbers, out of range) is
/// logged once per text: "[RoriDeru] Ignoring grid preset \"<text>\": ...; using 2x2".
/// Any thread.
std::optional<GridPreset> parse(std::string_view text);

/// Writes `preset` under the display's key; does nothing without a display number. Any thread (the
/// user defaults are thread-safe); the snap grid calls it on the main thread.
void save(const GridPreset& preset, std::optional<std::uint32_t> displayID);

/// The stored preset of a display, or `GridPreset::fallback()` (2 x 2, no gutter, no padding)
/// without a display number, without a stored value or with a malformed one (a stored number
/// reads as its text and is malformed). The stored value is never changed. Logs as `parse` does.
GridPreset load(std::optional<std::uint32_t> displayID);

} // namespace GridPresetStorage

} // namespace tilmora
