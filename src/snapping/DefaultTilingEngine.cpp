#include "snapping/DefaultTilingEngine.hpp"

namespace tilmora {

Rect DefaultTilingEngine::rect(const Tile& tile, const DisplayDescriptor& display) const {
    return absoluteRect(tile.normalizedFrame, display.bounds);
}

} // namespace tilmora
