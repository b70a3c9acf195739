#pragma once

#include "model/DisplayDescriptor.hpp"
#include "model/Layout.hpp"
#include "model/TileId.hpp"
#include "platform/ui/declarative/ViewBase.hpp"

#include <optional>

namespace tilmora {

/// What one preset-layout overlay shows: the display and layout it was opened for, and the tile
/// highlighted now. Setting `highlighted` tells the observing view, which redraws on the next
/// main-queue turn (or at once when its host rebuilds). Main thread.
class SnapBarOverlayViewModel : public platform::ui::declarative::ObservableObject {
public:
    SnapBarOverlayViewModel(DisplayDescriptor display, Layout layout)
        : display(std::move(display))
        , layout(std::move(layout)) {}
    SnapBarOverlayViewModel(const SnapBarOverlayViewModel&) = delete;
    SnapBarOverlayViewModel& operator=(const SnapBarOverlayViewModel&) = delete;

    const DisplayDescriptor display;
    const Layout layout;
    /// The highlighted tile's id; none when nothing is highlighted.
    platform::ui::declarative::Published<std::optional<TileId>> highlighted{this, std::nullopt};
};

} // namespace tilmora
