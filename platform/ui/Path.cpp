#include "platform/ui/Path.hpp"

namespace platform::ui {

std::vector<std::pair<Point, Point>> Path::lineSegments() const {
    std::vector<std::pair<Point, Point>> out;
    std::optional<Point> current;
    for (const auto& e : elements_) {
        if (e.kind == ElementKind::moveTo) {
            current = e.point;
        } else if (e.kind == ElementKind::lineTo) {
            if (current) out.emplace_back(*current, e.point);
            current = e.point;
        }
    }
    return out;
}

Rect Path::boundingBox() const {
    bool any = false;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    auto add = [&](double x, double y) {
        if (!any) {
            x0 = x1 = x;
            y0 = y1 = y;
            any = true;
        }
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
    };
    for (const auto& e : elements_) {
        switch (e.kind) {
        case ElementKind::moveTo:
        case ElementKind::lineTo:
            add(e.point.x, e.point.y);
            break;
        case ElementKind::rect:
        case ElementKind::roundedRect:
        case ElementKind::ellipse:
            add(e.rect.minX(), e.rect.minY());
            add(e.rect.maxX(), e.rect.maxY());
            break;
        case ElementKind::closeSubpath:
            break;
        }
    }
    return any ? Rect{x0, y0, x1 - x0, y1 - y0} : Rect{};
}

} // namespace platform::ui
