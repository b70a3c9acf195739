#pragma once

#include "model/VeskPresetKind.hpp"
#include "model/VeskTile.hpp"
#include "platform/foundation/Uuid.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace tilmora {

/// A named arrangement of tiles for one display: a uniform grid or one drawn tile. Identified by
/// `id`; equal when all six fields are equal (`tiles` element by element in order).
/// JSON: {"id": "<UUID text>", "name": string, "kind": "grid"|"singleTile", "displayId": string,
/// "tiles": [VeskTile, ...], "sortOrder": integer}, keys written in that order; every key is
/// required and unknown keys are ignored.
struct VeskPreset {
    /// Identity; the layout store keeps it as the id of the `Layout` that holds the preset.
    platform::UUID id;
    /// User-visible name.
    std::string name;
    VeskPresetKind kind;
    /// The display key (the `rawValue` of a `DisplayId`).
    std::string displayId;
    /// The preset's tiles, in order.
    std::vector<VeskTile> tiles;
    /// Position of the preset in the editor's list, ascending.
    std::int64_t sortOrder;

    bool operator==(const VeskPreset&) const = default;
};

/// The presets ordered by `sortOrder` ascending; presets with equal `sortOrder` keep their order.
std::vector<VeskPreset> sortedBySortOrder(std::vector<VeskPreset> presets);

/// The `sortOrder` of a preset newly added to `presets`: the largest `sortOrder` among them (0 for an
/// empty list) plus one, so that it sorts after every one of them. At the largest integer it stays
/// there instead of wrapping round (the stable sort still keeps the newcomer last).
std::int64_t nextSortOrder(const std::vector<VeskPreset>& presets);

platform::Json toJson(const VeskPreset& preset);
VeskPreset fromJson(const platform::Json& json, std::type_identity<VeskPreset>);

} // namespace tilmora
