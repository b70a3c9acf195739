#pragma once

#include "model/DisplayId.hpp"
#include "model/Rect.hpp"
#include "model/TileId.hpp"

#include <optional>
#include <string>

namespace tilmora {

/// One tile of a layout: a rectangle given as fractions of its display, so that it fits any size of
/// that display. Values are not validated (fractions outside 0...1 and empty sizes are kept).
/// JSON: {"id": TileId, "displayId": DisplayId, "normalizedFrame": Rect, "label": string (left out
/// when absent; null reads as absent)}.
struct Tile {
    TileId id;
    /// The display the tile belongs to.
    DisplayId displayId;
    /// Fractions of the display's bounds: `x` and `width` of its width from the left edge, `y` and
    /// `height` of its height with `y` measured downwards from the top edge. The upper half of a
    /// display is (0, 0, 1, 0.5).
    Rect normalizedFrame;
    /// The tile's name; absent when it has none.
    std::optional<std::string> label;

    bool operator==(const Tile&) const = default;
};

/// The absolute rectangle of a normalized frame on a display whose `bounds` are in the global
/// desktop space (points, y up). The tile's top lies `normalizedFrame.y` of the height below the top
/// edge. The size is capped at the bounds' size, and a tile that would stick out is shifted back
/// inside, so the result never leaves the bounds (for bounds of non-negative size).
Rect absoluteRect(const Rect& normalizedFrame, const Rect& bounds);

platform::Json toJson(const Tile& tile);
Tile fromJson(const platform::Json& json, std::type_identity<Tile>);

} // namespace tilmora
