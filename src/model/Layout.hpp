#pragma once

#include "model/DisplayId.hpp"
#include "model/LayoutId.hpp"
#include "model/Tile.hpp"

#include <string>
#include <vector>

namespace tilmora {

/// A named set of tiles for one display. Values are not validated: an empty tile list, tiles of
/// another display and repeated tile ids are kept as they are. Two layouts are equal only when their
/// tile lists are equal element by element in the same order.
/// JSON: {"id": LayoutId, "name": string, "displayId": DisplayId, "tiles": [Tile, ...]}.
struct Layout {
    /// Identity; the stores replace and delete by it.
    LayoutId id;
    std::string name;
    /// The display the layout belongs to.
    DisplayId displayId;
    /// The tiles, in the order in which they were built or read.
    std::vector<Tile> tiles;

    bool operator==(const Layout&) const = default;
};

platform::Json toJson(const Layout& layout);
Layout fromJson(const platform::Json& json, std::type_identity<Layout>);

} // namespace tilmora
