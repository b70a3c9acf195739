#include "snapping/SnapBarOverlay.hpp"

#include "platform/ui/declarative/Elements.hpp"
#include "snapping/HighlightedTileOverlay.hpp"
#include "snapping/TileEdgesShape.hpp"

#include <algorithm>
#include <cmath>

namespace tilmora {

namespace ui = platform::ui;
namespace decl = platform::ui::declarative;

std::shared_ptr<SnapBarOverlay> SnapBarOverlay::standard(std::shared_ptr<SnapBarOverlayViewModel> viewModel) {
    const auto green = ui::Color::systemGreen();
    return std::make_shared<SnapBarOverlay>(std::move(viewModel), green, green.withAlphaComponent(0.12), 0.55,
                                            3, 3, 2);
}

ui::Rect SnapBarOverlay::highlightFrame(const Rect& f, ui::Size size, double scale) {
    const double s = scale < 1 || std::isnan(scale) ? 1 : scale;
    const double p = 1 / s;
    const double w = size.width, h = size.height;
    const double x0 = std::round(f.x * w / p) * p;
    const double y0 = std::round(f.y * h / p) * p;
    const double x1 = std::round((f.x + f.width) * w / p) * p;
    const double y1 = std::round((f.y + f.height) * h / p) * p;
    return {x0, y0, std::max(0.0, x1 - x0), std::max(0.0, y1 - y0)};
}

decl::Element SnapBarOverlay::body() {
    const std::shared_ptr<SnapBarOverlayViewModel> model = viewModel.get();
    const double scale = model->display.scaleFactor < 1 ? 1 : model->display.scaleFactor;
    const std::optional<TileId> highlighted = model->highlighted.get();

    TileEdgesShape shape{model->layout.tiles, highlighted, scale};
    decl::StrokeStyle edgeStroke;
    edgeStroke.color = overlayColor.withAlphaComponent(overlayColor.alpha * baseLineOpacity);
    edgeStroke.lineWidth = tileLineWidth;
    edgeStroke.lineCap = "round";
    edgeStroke.lineJoin = "round";
    edgeStroke.miterLimit = 10;

    const Tile* highlightedTile = nullptr;
    if (highlighted) {
        for (const auto& tile : model->layout.tiles) {
            if (tile.id == *highlighted) {
                highlightedTile = &tile;
                break;
            }
        }
    }
    std::optional<Rect> highlightNormalized;
    if (highlightedTile) highlightNormalized = highlightedTile->normalizedFrame;

    // The canvas reads the size it is given and lays its layers over one another from the
    // top-left, back to front.
    auto content = [shape, edgeStroke, highlightNormalized, scale, overlayColor = overlayColor,
                    highlightFill = highlightFill, highlightLineWidth = highlightLineWidth,
                    plusLineWidth = plusLineWidth](ui::Size size) {
        const ui::Rect whole{0, 0, size.width, size.height};
        std::vector<decl::Element> layers;
        layers.push_back(decl::ColorView(ui::Color::clearColor()).placed(whole));
        layers.push_back(decl::PathShape([shape](ui::Size s) {
                             return shape.path({0, 0, s.width, s.height});
                         })
                             .stroke(edgeStroke)
                             .placed(whole));
        if (highlightNormalized) {
            layers.push_back(decl::view<HighlightedTileOverlay>(overlayColor, highlightFill,
                                                                highlightLineWidth, plusLineWidth)
                                 .placed(highlightFrame(*highlightNormalized, size, scale)));
        }
        return decl::Group(std::move(layers));
    };
    return decl::Canvas(content).ignoresSafeArea().allowsHitTesting(false);
}

} // namespace tilmora
