#pragma once

#include "platform/ui/Rect.hpp"

#include <optional>
#include <vector>

namespace platform::ui {

/// A vector path in the coordinates of whatever draws it: a list of elements. Rectangles and
/// rounded rectangles are kept as single elements so that tests can read them back as such.
class Path {
public:
    enum class ElementKind { moveTo, lineTo, rect, roundedRect, ellipse, closeSubpath };
    struct Element {
        ElementKind kind;
        Point point;        // moveTo, lineTo
        Rect rect;          // rect, roundedRect, ellipse
        double radiusX = 0; // roundedRect
        double radiusY = 0;
        bool operator==(const Element&) const = default;
    };

    void moveTo(Point p) { elements_.push_back({ElementKind::moveTo, p, {}, 0, 0}); }
    void lineTo(Point p) { elements_.push_back({ElementKind::lineTo, p, {}, 0, 0}); }
    void addLine(Point a, Point b) {
        moveTo(a);
        lineTo(b);
    }
    void addRect(const Rect& r) { elements_.push_back({ElementKind::rect, {}, r, 0, 0}); }
    void addRoundedRect(const Rect& r, double rx, double ry) {
        elements_.push_back({ElementKind::roundedRect, {}, r, rx, ry});
    }
    void addEllipse(const Rect& r) { elements_.push_back({ElementKind::ellipse, {}, r, 0, 0}); }
    void closeSubpath() { elements_.push_back({ElementKind::closeSubpath, {}, {}, 0, 0}); }
    void append(const Path& other) {
        elements_.insert(elements_.end(), other.elements_.begin(), other.elements_.end());
    }

    const std::vector<Element>& elements() const { return elements_; }
    bool isEmpty() const { return elements_.empty(); }
    /// The straight segments (move-to then line-to pairs), in order; rectangles are not included.
    std::vector<std::pair<Point, Point>> lineSegments() const;
    /// The smallest rectangle holding every point and rectangle of the path.
    Rect boundingBox() const;
    bool operator==(const Path&) const = default;

private:
    std::vector<Element> elements_;
};

} // namespace platform::ui
