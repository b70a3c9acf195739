#pragma once

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

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

    /// True when `other` lies wholly inside, edges included: (0,0,10,10) contains itself and
    /// (2,2,0,0), not (5,5,10,10). False when either rectangle is null.
    bool contains(const CGRect& other) const {
        if (isNull() || other.isNull()) return false;
        return other.minX() >= minX() && other.maxX() <= maxX() && other.minY() >= minY() &&
               other.maxY() <= maxY();
    }

    /// The rectangle moved in by `dx` on the left and right and by `dy` at the bottom and top (negative
    /// values grow it), after making its size positive. The null rectangle when the inset is larger
    /// than the rectangle (a negative width or height would result) or when it is null already.
    CGRect insetBy(double dx, double dy) const {
        if (isNull()) return null();
        const double w = width() - 2 * dx, h = height() - 2 * dy;
        if (!(w >= 0) || !(h >= 0)) return null();
        return {minX() + dx, minY() + dy, w, h};
    }

    /// The smallest rectangle containing both (sizes made positive first). The null rectangle is
    /// the identity: the union with it is the other rectangle unchanged; an empty but not null
    /// rectangle does count.
    CGRect unionWith(const CGRect& other) const {
        if (isNull()) return other;
        if (other.isNull()) return *this;
        const double x0 = std::min(minX(), other.minX()), y0 = std::min(minY(), other.minY());
        const double x1 = std::max(maxX(), other.maxX()), y1 = std::max(maxY(), other.maxY());
        return {x0, y0, x1 - x0, y1 - y0};
    }

    /// "(x, y, w, h)" with each field as it is stored, in the shortest double text with a fraction:
    /// "(0.0, 0.0, 10.0, 20.0)"; the null rectangle reads "(inf, inf, 0.0, 0.0)".
    std::string description() const;

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

/// The smallest rectangle that contains both (`CGRect::unionWith`): the null rectangle is the
/// identity, so a union folded from `CGRect::null()` over no rectangle stays null. Same space as
/// the arguments.
inline CGRect CGRectUnion(const CGRect& a, const CGRect& b) {
    return a.unionWith(b);
}

} // namespace platform
