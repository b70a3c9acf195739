#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

namespace platform {

/// A point in points. Which space it is in (global coordinates with y up from the bottom of the
/// main display, or top-left coordinates with y down from the top of the main display, as
/// Accessibility and the window list use) is stated by every function that takes or returns one.
struct CGPoint {
    double x = 0;
    double y = 0;
    bool operator==(const CGPoint&) const = default;
};

/// A width and a height in points.
struct CGSize {
    double width = 0;
    double height = 0;
    bool operator==(const CGSize&) const = default;
};

/// A rectangle in points: `origin` is its minimum corner (bottom-left in the global y-up space,
/// top-left in the y-down space). The null rectangle (the result of intersecting disjoint
/// rectangles) has an infinite origin and a zero size.
struct CGRect {
    CGPoint origin;
    CGSize size;

    CGRect() = default;
    CGRect(double x, double y, double w, double h)
        : origin{x, y}
        , size{w, h} {}
    CGRect(CGPoint o, CGSize s)
        : origin(o)
        , size(s) {}

    static CGRect null() {
        return {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(), 0, 0};
    }

    double minX() const { return std::min(origin.x, origin.x + size.width); }
    double maxX() const { return std::max(origin.x, origin.x + size.width); }
    double minY() const { return std::min(origin.y, origin.y + size.height); }
    double maxY() const { return std::max(origin.y, origin.y + size.height); }
    double midX() const { return origin.x + size.width / 2; }
    double midY() const { return origin.y + size.height / 2; }
    double width() const { return std::abs(size.width); }
    double height() const { return std::abs(size.height); }
    bool isNull() const { return std::isinf(origin.x) || std::isinf(origin.y); }
    /// True for the null rectangle and for a zero width or height.
    bool isEmpty() const { return isNull() || size.width == 0 || size.height == 0; }
    double area() const { return isNull() ? 0 : width() * height(); }

    /// True when the point lies inside, the minimum edges included and the maximum edges not.
    bool contains(CGPoint p) const { return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY(); }

    /// The common part, or the null rectangle when the two do not overlap (touching edges do not
    /// overlap).
    CGRect intersection(const CGRect& o) const {
        if (isNull() || o.isNull()) return null();
        double x0 = std::max(minX(), o.minX()), x1 = std::min(maxX(), o.maxX());
        double y0 = std::max(minY(), o.minY()), y1 = std::min(maxY(), o.maxY());
        if (x1 <= x0 || y1 <= y0) return null();
        return {x0, y0, x1 - x0, y1 - y0};
    }
    bool intersects(const CGRect& o) const { return !intersection(o).isNull(); }

    bool operator==(const CGRect&) const = default;
};

/// The smallest rectangle with whole-number edges that contains `rect`: the minimum edges rounded
/// down, the maximum edges rounded up (a negative size is made positive first). The null rectangle
/// stays null. Same space as `rect`.
inline CGRect CGRectIntegral(const CGRect& rect) {
    if (rect.isNull()) return rect;
    double x0 = std::floor(rect.minX()), y0 = std::floor(rect.minY());
    double x1 = std::ceil(rect.maxX()), y1 = std::ceil(rect.maxY());
    return {x0, y0, x1 - x0, y1 - y0};
}

} // namespace platform
