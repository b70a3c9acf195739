#pragma once

#include "editors/LayoutSplitAxis.hpp"
#include "model/DisplayDescriptor.hpp"
#include "model/Layout.hpp"
#include "model/LayoutStore.hpp"

#include "platform/ui/declarative/ViewBase.hpp"

#include <memory>
#include <optional>
#include <string>

namespace tilmora {

/// The model of the per-display layout editor: the layout of one display being edited, the store
/// it came from and the display. Its observers (the editor window and its preview) are told before
/// every change of `layout`. It never writes to the store; the window's "Save" does. Main thread.
class LayoutEditorViewModel : public platform::ui::declarative::ObservableObject {
public:
    /// Asks `store` once for the layout of `display.id`; without one the layout is the default
    /// "Halves" layout. The store is not asked again.
    LayoutEditorViewModel(DisplayDescriptor display, std::shared_ptr<LayoutStore> store);

    /// The layout being edited; every assignment tells the observers first.
    platform::ui::declarative::Published<Layout> layout;
    /// The store the layout was loaded from and is saved to; fixed.
    const std::shared_ptr<LayoutStore> store;
    /// The display whose layout is edited; its id goes into every tile the model makes, its bounds
    /// (points, global, y up) give the preview its aspect ratio. Fixed.
    const DisplayDescriptor display;

    /// Replaces the first tile with `tileId` by its two halves along `axis`, at its place in the
    /// list: both get new ids, the model's display id and the tile's label. An id that no tile
    /// carries changes nothing and tells no observer. Not saved.
    void split(const TileId& tileId, LayoutSplitAxis axis);
    /// Assigns a newly built default layout (new layout and tile ids) in one change. Not saved.
    void resetToDefaults();
    /// The caption of `tile` at `index` of the layout: its label when present and not empty,
    /// otherwise "Tile " and index + 1.
    std::string label(const Tile& tile, int index) const;

    /// The default layout of `displayId`: "Halves" with "Left" (0, 0, 0.5, 1) and "Right"
    /// (0.5, 0, 0.5, 1), fractions of the display with y from its top edge, all ids fresh.
    static Layout defaultLayout(const DisplayId& displayId);
};

} // namespace tilmora
