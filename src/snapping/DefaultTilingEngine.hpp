#pragma once

#include "snapping/TilingEngine.hpp"

namespace tilmora {

/// The tiling engine of the program; holds no state.
class DefaultTilingEngine : public TilingEngine {
public:
    /// The tile's normalized frame mapped onto the display's visible frame (`absoluteRect`): its
    /// top lies `y` of the height below the top edge, a size larger than the display is capped at
    /// the display's, and a tile that would stick out is shifted back inside. Logs nothing.
    Rect rect(const Tile& tile, const DisplayDescriptor& display) const override;
};

} // namespace tilmora
