#pragma once

namespace tilmora {

/// The direction of the line that splits a tile of the layout editor in two.
enum class LayoutSplitAxis {
    /// The line runs horizontally: the tile's height is halved, the halves lie one above the other.
    horizontal = 0,
    /// The line runs vertically: the tile's width is halved, the halves lie side by side.
    vertical = 1,
};

} // namespace tilmora
