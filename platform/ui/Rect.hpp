#pragma once

#include <algorithm>
#include <cmath>

namespace platform::ui {

/// A point in points. Which space it lives in (global Cocoa coordinates, y up from the bottom of
/// the main display, or a view's own coordinates) is stated by every function that takes one.
struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};

/// A width and a height in points.
struct Size {
    double width = 0;
    double height = 0;
    bool operator==(const Size&) const = default;
};

/// A rectangle in points: origin is its minimum corner (bottom-left in y-up spaces, top-left in
/// the declarative views' y-down space).
struct Rect {
    Point origin;
    Size size;

    Rect() = default;
    Rect(double x, double y, double w, double h)
        : origin{x, y}
        , size{w, h} {}
    Rect(Point o, Size s)
        : origin(o)
        , size(s) {}

    double minX() const { return std::min(origin.x, origin.x + size.width); }
    double maxX() const { return std::max(origin.x, origin.x + size.width); }
    double minY() const { return std::min(origin.y, origin.y + size.height); }
    double maxY() const { return std::max(origin.y, origin.y + size.height); }
    double midX() const { return origin.x + size.width / 2; }
    double midY() const { return origin.y + size.height / 2; }
    double width() const { return std::abs(size.width); }
    double height() const { return std::abs(size.height); }
    bool isEmpty() const { return size.width <= 0 || size.height <= 0; }

    /// True when the point lies inside, the minimum edges included and the maximum edges not.
    bool contains(Point p) const { return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY(); }
    bool intersects(const Rect& o) const {
        return !isEmpty() && !o.isEmpty() && minX() < o.maxX() && o.minX() < maxX() && minY() < o.maxY() &&
               o.minY() < maxY();
    }
    /// Shrinks by dx on the left and right and dy at the bottom and top (negative values grow).
    Rect insetBy(double dx, double dy) const {
        return {minX() + dx, minY() + dy, width() - 2 * dx, height() - 2 * dy};
    }
    /// The smallest rectangle with whole-number edges that contains this one.
    Rect integral() const {
        if (isEmpty()) return {};
        double x0 = std::floor(minX()), y0 = std::floor(minY());
        return {x0, y0, std::ceil(maxX()) - x0, std::ceil(maxY()) - y0};
    }
    bool operator==(const Rect&) const = default;
};

/// Insets in points from the top, left, bottom and right edges.
struct EdgeInsets {
    double top = 0;
    double left = 0;
    double bottom = 0;
    double right = 0;
    bool operator==(const EdgeInsets&) const = default;
};

} // namespace platform::ui
