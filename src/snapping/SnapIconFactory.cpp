#include "snapping/SnapIconFactory.hpp"

#include "windows/GeometryBridge.hpp"

#include <cmath>

namespace tilmora::SnapIconFactory {

std::optional<GridSpec> gridSpec(SnapIconKind kind) {
    switch (kind) {
    case SnapIconKind::grid1x2:
        return GridSpec{1, 2};
    case SnapIconKind::grid1x3:
        return GridSpec{1, 3};
    case SnapIconKind::grid2x1:
        return GridSpec{2, 1};
    case SnapIconKind::grid3x1:
        return GridSpec{3, 1};
    case SnapIconKind::grid2x2:
        return GridSpec{2, 2};
    case SnapIconKind::grid3x3:
        return GridSpec{3, 3};
    case SnapIconKind::grid4x4:
        return GridSpec{4, 4};
    case SnapIconKind::grid6x4:
        return GridSpec{6, 4};
    case SnapIconKind::grid8x2:
        return GridSpec{8, 2};
    default:
        return std::nullopt;
    }
}

void drawGrid(platform::ui::Canvas& canvas, const Rect& r, std::int64_t rows, std::int64_t cols) {
    platform::ui::Path path;
    for (std::int64_t i = 1; i < cols; ++i) {
        const double x = r.x + r.width * static_cast<double>(i) / static_cast<double>(cols);
        path.addLine({x, r.y}, {x, r.y + r.height});
    }
    for (std::int64_t j = 1; j < rows; ++j) {
        const double y = r.y + r.height * static_cast<double>(j) / static_cast<double>(rows);
        path.addLine({r.x, y}, {r.x + r.width, y});
    }
    if (path.isEmpty()) return;
    canvas.setStrokeColor(platform::ui::Color::systemBlue());
    canvas.setLineWidth(1);
    canvas.stroke(path);
}

Rect highlightRect(SnapIconKind kind, const Rect& r) {
    const double w = r.width;
    const double h = r.height;
    const double minX = r.x;
    const double minY = r.y;
    const double midX = r.x + w / 2;
    const double midY = r.y + h / 2;
    const double maxX = r.x + w;
    switch (kind) {
    case SnapIconKind::leftHalf:
        return {minX, minY, w * 0.5, h};
    case SnapIconKind::rightHalf:
        return {midX, minY, w * 0.5, h};
    case SnapIconKind::topHalf:
        return {minX, midY, w, h * 0.5};
    case SnapIconKind::bottomHalf:
        return {minX, minY, w, h * 0.5};
    case SnapIconKind::topLeft:
        return {minX, midY, w * 0.5, h * 0.5};
    case SnapIconKind::topRight:
        return {midX, midY, w * 0.5, h * 0.5};
    case SnapIconKind::bottomLeft:
        return {minX, minY, w * 0.5, h * 0.5};
    case SnapIconKind::bottomRight:
        return {midX, minY, w * 0.5, h * 0.5};
    case SnapIconKind::leftThird:
        return {minX, minY, w / 3, h};
    case SnapIconKind::middleThird:
        return {minX + w / 3, minY, w / 3, h};
    case SnapIconKind::rightThird:
        return {minX + (w + w) / 3, minY, w / 3, h};
    case SnapIconKind::leftTwoThirds:
        return {minX, minY, (w + w) / 3, h};
    case SnapIconKind::rightTwoThirds:
        return {minX + w / 3, minY, (w + w) / 3, h};
    case SnapIconKind::firstQuarter:
        return {minX, minY, w * 0.25, h};
    case SnapIconKind::secondQuarter:
        return {minX + w * 0.25, minY, w * 0.25, h};
    case SnapIconKind::thirdQuarter:
        return {minX + w * 0.5, minY, w * 0.25, h};
    case SnapIconKind::lastQuarter:
        return {maxX - w * 0.25, minY, w * 0.25, h};
    case SnapIconKind::firstThreeQuarters:
        return {minX, minY, w * 0.75, h};
    case SnapIconKind::lastThreeQuarters:
        return {maxX - w * 0.75, minY, w * 0.75, h};
    case SnapIconKind::topLeftSixth:
        return {minX, midY, w / 3, h * 0.5};
    case SnapIconKind::topCenterSixth:
        return {minX + w / 3, midY, w / 3, h * 0.5};
    case SnapIconKind::topRightSixth:
        return {minX + (w + w) / 3, midY, w / 3, h * 0.5};
    case SnapIconKind::bottomLeftSixth:
        return {minX, minY, w / 3, h * 0.5};
    case SnapIconKind::bottomCenterSixth:
        return {minX + w / 3, minY, w / 3, h * 0.5};
    case SnapIconKind::bottomRightSixth:
        return {minX + (w + w) / 3, minY, w / 3, h * 0.5};
    case SnapIconKind::centerHalf:
        return {midX - (w * 0.5) * 0.5, minY, w * 0.5, h};
    case SnapIconKind::centerTwoThirds:
        return {midX - (w * (2.0 / 3.0)) * 0.5, minY, w * (2.0 / 3.0), h};
    case SnapIconKind::centerThreeFourths:
        return {midX - (w * 0.75) * 0.5, minY, w * 0.75, h};
    case SnapIconKind::center:
        return {midX - (w * 0.66) * 0.5, midY - (h * 0.66) * 0.5, w * 0.66, h * 0.66};
    case SnapIconKind::almostMaximize:
        return {minX + w * 0.05, minY + h * 0.05, w * 0.9, h * 0.9};
    default:
        return r;
    }
}

std::shared_ptr<platform::ui::Image> image(SnapIconKind kind, platform::ui::Size size) {
    const double width = size.width;
    const double height = size.height;
    return platform::ui::Image::drawn(size, false, [&](platform::ui::Canvas& canvas) {
        if (!std::isfinite(width) || !std::isfinite(height) || width < 2 || height < 2) return;
        const Rect frame{1, 1, width - 2, height - 2};
        canvas.setFillColor(platform::ui::Color::white(0.92, 1));
        canvas.fill(toCGRect(frame));
        canvas.setStrokeColor(platform::ui::Color::white(0.75, 1));
        canvas.setLineWidth(1);
        canvas.stroke(toCGRect(frame));
        if (const auto spec = gridSpec(kind)) {
            drawGrid(canvas, frame, spec->rows, spec->cols);
        } else {
            canvas.setFillColor(platform::ui::Color::systemBlue());
            canvas.fill(toCGRect(highlightRect(kind, frame)));
        }
    });
}

} // namespace tilmora::SnapIconFactory
