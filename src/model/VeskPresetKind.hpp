#pragma once

#include "platform/foundation/JsonCoding.hpp"

#include <optional>
#include <string_view>

namespace tilmora {

/// The two kinds of preset, in this order (also the order of `allVeskPresetKinds`).
/// JSON: its raw value, a single string "grid" or "singleTile".
enum class VeskPresetKind {
    /// A uniform grid; its tiles are generated from a row and a column count.
    grid,
    /// One freely drawn tile.
    singleTile,
};

inline constexpr VeskPresetKind allVeskPresetKinds[] = {VeskPresetKind::grid, VeskPresetKind::singleTile};

/// The raw value, which is also the case name written into log lines: "grid" or "singleTile".
std::string_view rawValue(VeskPresetKind kind);

/// The kind with exactly this raw value (letter case counts); absent for any other text.
std::optional<VeskPresetKind> veskPresetKind(std::string_view rawValue);

platform::Json toJson(VeskPresetKind kind);
/// Fails for any string other than the two raw values, and for anything but a string.
VeskPresetKind fromJson(const platform::Json& json, std::type_identity<VeskPresetKind>);

} // namespace tilmora
