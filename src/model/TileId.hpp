#pragma once

#include "model/UuidIdentifier.hpp"

namespace tilmora {

/// Identifies a tile within its layout.
struct TileId : UuidIdentifier<TileId> {
    static constexpr const char* typeName = "TileId";
    using UuidIdentifier::UuidIdentifier;
};

} // namespace tilmora
