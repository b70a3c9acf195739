#include "snapping/HighlightedTileOverlay.hpp"

#include "platform/ui/declarative/Elements.hpp"

#include <algorithm>

namespace tilmora {

namespace ui = platform::ui;
namespace decl = platform::ui::declarative;

namespace {

decl::StrokeStyle roundStroke(const ui::Color& color, double width) {
    decl::StrokeStyle style;
    style.color = color;
    style.lineWidth = width;
    style.lineCap = "round";
    style.lineJoin = "round";
    style.miterLimit = 10;
    return style;
}

} // namespace

ui::Path HighlightedTileOverlay::plusPath(ui::Size size) {
    const double arm = std::max(std::min(size.width, size.height) * 0.18, 6.0);
    const double cx = size.width / 2, cy = size.height / 2;
    ui::Path path;
    path.addLine({cx - arm, cy}, {cx + arm, cy});
    path.addLine({cx, cy - arm}, {cx, cy + arm});
    return path;
}

decl::Element HighlightedTileOverlay::body() {
    return decl::ZStack(decl::Alignment::center,
                        {
                            decl::Rectangle().fill(highlightFill),
                            decl::Rectangle().stroke(roundStroke(overlayColor, lineWidth)),
                            decl::PathShape(&HighlightedTileOverlay::plusPath)
                                .stroke(roundStroke(overlayColor, plusLineWidth)),
                        });
}

} // namespace tilmora
