#pragma once

#include "model/DisplayDescriptor.hpp"
#include "model/Layout.hpp"
#include "model/TileId.hpp"

#include <optional>

namespace tilmora {

/// What the tiling controller drives while a window is dragged over a display with a preset
/// layout: an overlay of that layout's tiles with the tile under the pointer highlighted.
/// Main thread.
class SnapBarOverlayPresenting {
public:
    virtual ~SnapBarOverlayPresenting() = default;

    /// Shows the tiles of `layout` over `display` with nothing highlighted.
    virtual void showOverlay(const DisplayDescriptor& display, const Layout& layout) = 0;
    /// Highlights the tile with that id on every open overlay; none clears the highlight.
    virtual void highlight(const std::optional<TileId>& tile) = 0;
    /// Takes every open overlay down.
    virtual void hideOverlay() = 0;
};

} // namespace tilmora
