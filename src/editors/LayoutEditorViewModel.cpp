#include "editors/LayoutEditorViewModel.hpp"

#include "platform/foundation/Uuid.hpp"

#include <algorithm>

namespace tilmora {

namespace {

Layout loadOrDefault(LayoutStore& store, const DisplayId& displayId) {
    if (auto stored = store.layout(displayId)) return *stored;
    return LayoutEditorViewModel::defaultLayout(displayId);
}

} // namespace

LayoutEditorViewModel::LayoutEditorViewModel(DisplayDescriptor display, std::shared_ptr<LayoutStore> store)
    : layout(this, loadOrDefault(*store, display.id))
    , store(std::move(store))
    , display(std::move(display)) {}

Layout LayoutEditorViewModel::defaultLayout(const DisplayId& displayId) {
    Layout layout{LayoutId(platform::UUID()), "Halves", displayId, {}};
    layout.tiles.push_back(Tile{TileId(platform::UUID()), displayId, Rect{0, 0, 0.5, 1}, "Left"});
    layout.tiles.push_back(Tile{TileId(platform::UUID()), displayId, Rect{0.5, 0, 0.5, 1}, "Right"});
    return layout;
}

void LayoutEditorViewModel::split(const TileId& tileId, LayoutSplitAxis axis) {
    const auto& tiles = layout.get().tiles;
    auto found = std::find_if(tiles.begin(), tiles.end(), [&](const Tile& t) { return t.id == tileId; });
    if (found == tiles.end()) return;
    const Rect f = found->normalizedFrame;
    Rect first = f, second = f;
    if (axis == LayoutSplitAxis::vertical) {
        first.width = second.width = f.width * 0.5;
        second.x = f.x + f.width * 0.5;
    } else {
        first.height = second.height = f.height * 0.5;
        second.y = f.y + f.height * 0.5;
    }
    Layout next = layout.get();
    auto at = next.tiles.begin() + (found - tiles.begin());
    const auto label = at->label;
    at = next.tiles.erase(at);
    at = next.tiles.insert(at, Tile{TileId(platform::UUID()), display.id, first, label});
    next.tiles.insert(at + 1, Tile{TileId(platform::UUID()), display.id, second, label});
    layout.set(std::move(next));
}

void LayoutEditorViewModel::resetToDefaults() {
    layout.set(defaultLayout(display.id));
}

std::string LayoutEditorViewModel::label(const Tile& tile, int index) const {
    if (tile.label && !tile.label->empty()) return *tile.label;
    return "Tile " + std::to_string(index + 1);
}

} // namespace tilmora
