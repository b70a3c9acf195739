#include "editors/LayoutPreviewView.hpp"

#include "platform/ui/declarative/Elements.hpp"

#include <algorithm>

namespace tilmora {

namespace ui = platform::ui;
namespace decl = platform::ui::declarative;

namespace {

decl::StrokeStyle tileBorder(bool selected) {
    decl::StrokeStyle style;
    style.color = selected ? ui::Color::controlAccentColor() : ui::Color::systemGray().withAlphaComponent(0.8);
    style.lineWidth = selected ? 3 : 1.5;
    style.inset = true;
    return style;
}

decl::Element tileElement(const std::string& caption, bool selected, ui::Rect rect, std::function<void()> onTap) {
    auto shape = decl::Rectangle();
    shape.fill(ui::Color::controlAccentColor().withAlphaComponent(selected ? 0.18 : 0.08)).stroke(tileBorder(selected));
    auto label = decl::Text(caption);
    label.font("caption").foregroundRole("primary").padding(6);
    label.background(decl::ColorView(ui::Color::textBackgroundColor().withAlphaComponent(0.75)))
        .clipRoundedRect(4, true);
    auto tile = decl::ZStack(decl::Alignment::topLeading, {shape, label});
    tile.placed(rect).onTap(std::move(onTap));
    return tile;
}

} // namespace

double LayoutPreviewView::aspectRatio(const Rect& bounds) {
    if (bounds.height == 0) return 16.0 / 9.0;
    return std::clamp(bounds.width / bounds.height, 0.5, 4.0);
}

ui::Rect LayoutPreviewView::boxRect(ui::Size area, double ratio) {
    ui::Size box = area.width / ratio <= area.height ? ui::Size{area.width, area.width / ratio}
                                                     : ui::Size{ratio * area.height, area.height};
    return {(area.width - box.width) * 0.5, (area.height - box.height) * 0.5, box.width, box.height};
}

decl::Element LayoutPreviewView::picture(const LayoutEditorViewModel& model, const std::optional<TileId>& selected,
                                         ui::Size size, std::function<void(const TileId&)> select) {
    const ui::Rect box = boxRect(size, aspectRatio(model.display.bounds));
    std::vector<decl::Element> items;
    auto background = decl::Rectangle();
    background.fill(ui::Color::windowBackgroundColor().withAlphaComponent(0.4)).placed(box);
    items.push_back(background);
    decl::StrokeStyle dashed;
    dashed.color = ui::Color::secondaryLabelColor().withAlphaComponent(0.5);
    dashed.lineWidth = 1;
    dashed.dash = {4, 4};
    auto outline = decl::Rectangle();
    outline.stroke(dashed).placed(box);
    items.push_back(outline);

    const auto& tiles = model.layout.get().tiles;
    for (size_t i = 0; i < tiles.size(); ++i) {
        const Tile& tile = tiles[i];
        const Rect& f = tile.normalizedFrame;
        ui::Rect rect{box.minX() + f.x * box.width(), box.minY() + f.y * box.height(), f.width * box.width(),
                      f.height * box.height()};
        const bool isSelected = selected && *selected == tile.id;
        auto element = tileElement(model.label(tile, int(i)), isSelected, rect, [select, id = tile.id] { select(id); });
        // The selected tile is drawn, and hit, above all others; the rest stack in list order.
        if (isSelected) element.zIndex(1);
        items.push_back(element);
    }
    return decl::Group(std::move(items));
}

decl::Element LayoutPreviewView::body() {
    auto model = viewModel.get();
    auto selection = selectedTileId;
    auto canvas = decl::Canvas([model, selection](ui::Size size) {
        return picture(*model, selection.get(), size, [selection](const TileId& id) { selection.set(id); });
    });
    // The frame sits on the canvas itself so that the canvas, not only the space around it, gets
    // the minimum when its parent offers less.
    decl::FrameSpec frame;
    frame.minWidth = minimumSize.width;
    frame.maxWidth = decl::FrameSpec::infinity;
    frame.minHeight = minimumSize.height;
    canvas.frame(frame);
    return canvas;
}

} // namespace tilmora
