#pragma once

#include "model/DisplayDescriptor.hpp"
#include "model/Rect.hpp"
#include "model/Tile.hpp"

namespace tilmora {

/// Turns a tile of a layout into the rectangle a window takes on a display.
class TilingEngine {
public:
    virtual ~TilingEngine() = default;

    /// The rectangle of `tile` on `display`: global desktop coordinates (points, origin at the
    /// bottom-left of the main display, y up), inside `display.bounds`. Pure; any thread.
    virtual Rect rect(const Tile& tile, const DisplayDescriptor& display) const = 0;
};

} // namespace tilmora
