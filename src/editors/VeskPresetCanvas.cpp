#include "editors/VeskPresetCanvas.hpp"

#include "model/LocalizationManager.hpp"

#include "platform/ui/declarative/Elements.hpp"

#include <algorithm>
#include <cmath>

namespace tilmora {

namespace ui = platform::ui;
namespace decl = platform::ui::declarative;

namespace {

double clamp01(double v) {
    return std::isnan(v) ? 0 : std::clamp(v, 0.0, 1.0);
}

/// A normalised rectangle in canvas points.
ui::Rect canvasRect(const Rect& r, ui::Size size) {
    return {r.x * size.width, r.y * size.height, r.width * size.width, r.height * size.height};
}

decl::StrokeStyle strokeOf(ui::Color color, double width) {
    decl::StrokeStyle s;
    s.color = color;
    s.lineWidth = width;
    s.miterLimit = 10;
    return s;
}

} // namespace

platform::CGPoint VeskPresetCanvas::normalisedPoint(ui::Point location, ui::Size canvas) {
    if (!(canvas.width > 0) || !(canvas.height > 0)) return {0, 0};
    return {clamp01(location.x / canvas.width), clamp01(location.y / canvas.height)};
}

ui::Path VeskPresetCanvas::gridLines(long rows, long cols, ui::Size size) {
    const long r = std::max(rows, 1L), c = std::max(cols, 1L);
    ui::Path path;
    for (long i = 0; i <= r; ++i) {
        const double y = size.height / double(r) * double(i);
        path.addLine({0, y}, {size.width, y});
    }
    for (long i = 0; i <= c; ++i) {
        const double x = size.width / double(c) * double(i);
        path.addLine({x, 0}, {x, size.height});
    }
    return path;
}

ui::Color VeskPresetCanvas::tileFill(VeskPresetKind kind, bool isSelected) {
    if (kind == VeskPresetKind::singleTile) return ui::Color::blueColor().withAlphaComponent(isSelected ? 0.35 : 0.22);
    return ui::Color::controlAccentColor().withAlphaComponent(0.25);
}

ui::Color VeskPresetCanvas::tileStroke(VeskPresetKind kind, bool isSelected) {
    if (isSelected) return ui::Color::controlAccentColor();
    return kind == VeskPresetKind::singleTile ? ui::Color::whiteColor().withAlphaComponent(0.7)
                                              : ui::Color::clearColor();
}

double VeskPresetCanvas::tileLineWidth(bool isSelected) {
    return isSelected ? 2 : 1;
}

void VeskPresetCanvas::dragChanged(ui::Point location, ui::Size size) {
    auto& c = *controller;
    if (c.editingKind() != VeskPresetKind::singleTile) return;
    const auto p = normalisedPoint(location, size);
    if (!c.dragStart()) c.setDragStart(p);
    c.setDragCurrent(p);
}

void VeskPresetCanvas::dragEnded(ui::Point location, ui::Size size) {
    auto& c = *controller;
    if (c.editingKind() != VeskPresetKind::singleTile || !c.dragStart()) {
        c.setDragStart(std::nullopt);
        c.setDragCurrent(std::nullopt);
        return;
    }
    const auto e = normalisedPoint(location, size);
    const auto s = *c.dragStart();
    const Rect rect{std::min(s.x, e.x), std::min(s.y, e.y), std::abs(e.x - s.x), std::abs(e.y - s.y)};
    c.setDragStart(std::nullopt);
    c.setDragCurrent(std::nullopt);
    if (rect.width > 0.02 && rect.height > 0.02) c.addTileFromDrag(rect);
}

decl::Element VeskPresetCanvas::body() {
    const std::shared_ptr<VeskLayoutEditorController> model = controller.get();
    if (!hintTexts_ || hintVersion_ != localizationVersion) {
        auto& loc = LocalizationManager::shared();
        hintTexts_.emplace(loc.localizedString("layoutEditor.canvas.title"),
                           loc.localizedString("layoutEditor.canvas.instructions"));
        hintVersion_ = localizationVersion;
    }
    const std::string hintTitle = hintTexts_->first;
    const std::string hintText = hintTexts_->second;
    // The size the canvas last got, for the drag handlers of this build.
    auto canvasSize = std::make_shared<ui::Size>();

    auto content = [model, canvasSize, hintTitle, hintText](ui::Size size) {
        *canvasSize = size;
        const ui::Rect whole{0, 0, size.width, size.height};
        const VeskPresetKind kind = model->editingKind();
        std::vector<decl::Element> layers;
        layers.push_back(decl::ColorView(ui::Color::blackColor()).placed(whole));
        if (kind == VeskPresetKind::grid) {
            const long rows = model->gridRows(), cols = model->gridCols();
            layers.push_back(decl::PathShape([rows, cols](ui::Size s) { return gridLines(rows, cols, s); })
                                 .stroke(strokeOf(ui::Color::grayColor().withAlphaComponent(0.4), 0.5))
                                 .allowsHitTesting(false)
                                 .placed(whole)
                                 .id("canvas.grid"));
        }
        for (const auto& tile : model->tiles()) {
            const bool selected = model->selectedTileID() == tile.id;
            const platform::UUID id = tile.id;
            layers.push_back(decl::Rectangle()
                                 .fill(tileFill(kind, selected))
                                 .stroke(strokeOf(tileStroke(kind, selected), tileLineWidth(selected)))
                                 .placed(canvasRect(tile.normalisedRect, size))
                                 .onTap([model, id] { model->setSelectedTileID(id); })
                                 .id("tile." + tile.id.uuidString()));
        }
        if (const auto& s = model->dragStart(); s && model->dragCurrent()) {
            const auto& c = *model->dragCurrent();
            const Rect preview{std::min(s->x, c.x), std::min(s->y, c.y), std::abs(c.x - s->x), std::abs(c.y - s->y)};
            layers.push_back(decl::Rectangle()
                                 .fill(ui::Color::blueColor().withAlphaComponent(0.25))
                                 .stroke(strokeOf(ui::Color::blueColor(), 2))
                                 .allowsHitTesting(false)
                                 .placed(canvasRect(preview, size))
                                 .id("canvas.preview"));
        }
        layers.push_back(decl::RoundedRectangle(4, true)
                             .stroke(strokeOf(ui::Color::whiteColor().withAlphaComponent(0.35), 1))
                             .allowsHitTesting(false)
                             .placed(ui::Rect(whole).insetBy(0.5, 0.5)));
        if (model->tiles().empty() && !model->dragStart()) {
            layers.push_back(decl::VStack(decl::Alignment::center, 4,
                                          {decl::Text(hintTitle).font("subheadline").foregroundRole("accent"),
                                           decl::Text(hintText)
                                               .font("caption")
                                               .foregroundRole("secondary")
                                               .multilineTextAlignment("center")})
                                 .padding(8)
                                 .background(decl::RoundedRectangle(6).fill(ui::Color::blackColor().withAlphaComponent(0.7)))
                                 .allowsHitTesting(false)
                                 .id("canvas.hint"));
        }
        return decl::Group(std::move(layers));
    };

    return decl::Canvas(content)
        .aspectRatioFit(previewAspectRatio)
        .contentShapeRect()
        .dragGesture(
            0, [this, canvasSize](const decl::DragValue& v) { dragChanged(v.location, *canvasSize); },
            [this, canvasSize](const decl::DragValue& v) { dragEnded(v.location, *canvasSize); })
        .id("canvas");
}

} // namespace tilmora
