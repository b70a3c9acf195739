#pragma once

#include "model/Rect.hpp"
#include "platform/foundation/JsonCoding.hpp"
#include "platform/foundation/Uuid.hpp"

#include <string>

namespace tilmora {

/// One rectangle of a preset; identified by `id`.
/// JSON: {"id": "<UUID text>", "name": string, "normalisedRect": [[x, y], [width, height]]}, keys
/// written in that order; every key is required.
struct VeskTile {
    /// Identity of the tile within the editor (selection, list identity).
    platform::UUID id;
    /// Display name of the tile.
    std::string name;
    /// The tile's area as fractions 0 to 1 of the display, origin at the top-left corner with y
    /// growing downwards (the convention of `Tile::normalizedFrame`).
    Rect normalisedRect;

    bool operator==(const VeskTile&) const = default;
};

platform::Json toJson(const VeskTile& tile);
VeskTile fromJson(const platform::Json& json, std::type_identity<VeskTile>);

} // namespace tilmora
