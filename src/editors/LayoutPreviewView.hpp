#pragma once

#include "editors/LayoutEditorViewModel.hpp"

#include "platform/ui/Rect.hpp"
#include "platform/ui/declarative/ViewBase.hpp"

#include <memory>
#include <optional>

namespace tilmora {

/// The scale picture of the edited layout inside the layout editor window: a box with the
/// display's aspect ratio, centred in the area the window gives it, each tile a tinted rectangle
/// with an inside border and its caption at its top-left corner; the selected tile is tinted more
/// strongly, has a wider accent border and lies above the others. A click on a tile selects it
/// (the tile on top where tiles overlap); a click elsewhere changes nothing. Keeps no state of its
/// own. All coordinates are points, y down from the top-left of the area. Main thread.
class LayoutPreviewView : public platform::ui::declarative::Component<LayoutPreviewView> {
public:
    LayoutPreviewView(std::shared_ptr<LayoutEditorViewModel> viewModel,
                      platform::ui::declarative::Binding<std::optional<TileId>> selectedTileId)
        : viewModel(this, std::move(viewModel))
        , selectedTileId(std::move(selectedTileId)) {}
    LayoutPreviewView& operator=(const LayoutPreviewView&) = default;

    platform::ui::declarative::ObservedObject<LayoutEditorViewModel> viewModel;
    /// The window's tile selection: read for the highlight, written by a click on a tile.
    platform::ui::declarative::Binding<std::optional<TileId>> selectedTileId;

    /// The smallest area the preview takes (points); it grows to the full width offered.
    static constexpr platform::ui::Size minimumSize{500, 320};

    platform::ui::declarative::Element body() override;

    /// Width over height of display bounds (points): 16/9 when the height is 0, otherwise clamped
    /// to 0.5...4.0.
    static double aspectRatio(const Rect& displayBounds);
    /// The box of ratio `ratio` as large as fits in `area`, centred in it (points, y down).
    static platform::ui::Rect boxRect(platform::ui::Size area, double ratio);
    /// The whole picture for an area of `size`: the box background, its dashed outline, then one
    /// element per tile in list order (the selected one raised above the others), each placed in
    /// the canvas.
    static platform::ui::declarative::Element picture(const LayoutEditorViewModel& model,
                                                      const std::optional<TileId>& selected,
                                                      platform::ui::Size size,
                                                      std::function<void(const TileId&)> select);
};

} // namespace tilmora
