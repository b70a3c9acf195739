#include "snapping/SnapKindGeometry.hpp"

#include "snapping/RectMath.hpp"

#include <algorithm>
#include <cmath>

namespace tilmora::SnapKindGeometry {

using namespace RectMath;

Rect rectForVisible(SnapIconKind kind, const Rect& f, const GapSettings& gaps) {
    const double w = f.width;
    const double h = f.height;
    const double third = w / 3;
    const double twoThirds = (w + w) / 3;
    const double quarter = w * 0.25;
    const double threeQuarters = (w * 3) * 0.25;
    bool withGaps = true;
    Rect r;
    switch (kind) {
    case SnapIconKind::leftHalf:
        r = {minX(f), minY(f), w * 0.5, h};
        break;
    case SnapIconKind::rightHalf:
        r = {midX(f), minY(f), w * 0.5, h};
        break;
    case SnapIconKind::topHalf:
        r = {minX(f), midY(f), w, h * 0.5};
        break;
    case SnapIconKind::bottomHalf:
        r = {minX(f), minY(f), w, h * 0.5};
        break;
    case SnapIconKind::topLeft:
        r = {minX(f), midY(f), w * 0.5, h * 0.5};
        break;
    case SnapIconKind::topRight:
        r = {midX(f), midY(f), w * 0.5, h * 0.5};
        break;
    case SnapIconKind::bottomLeft:
        r = {minX(f), minY(f), w * 0.5, h * 0.5};
        break;
    case SnapIconKind::bottomRight:
        r = {midX(f), minY(f), w * 0.5, h * 0.5};
        break;
    case SnapIconKind::leftThird:
        r = {minX(f), minY(f), third, h};
        break;
    case SnapIconKind::middleThird:
        r = {minX(f) + third, minY(f), third, h};
        break;
    case SnapIconKind::rightThird:
        r = {minX(f) + twoThirds, minY(f), third, h};
        break;
    case SnapIconKind::leftTwoThirds:
        r = {minX(f), minY(f), twoThirds, h};
        break;
    case SnapIconKind::rightTwoThirds:
        r = {minX(f) + third, minY(f), twoThirds, h};
        break;
    case SnapIconKind::firstQuarter:
        r = {minX(f), minY(f), quarter, h};
        break;
    case SnapIconKind::secondQuarter:
        r = {minX(f) + quarter, minY(f), quarter, h};
        break;
    case SnapIconKind::thirdQuarter:
        r = {minX(f) + w * 0.5, minY(f), quarter, h};
        break;
    case SnapIconKind::lastQuarter:
        r = {maxX(f) - quarter, minY(f), quarter, h};
        break;
    case SnapIconKind::firstThreeQuarters:
        r = {minX(f), minY(f), threeQuarters, h};
        break;
    case SnapIconKind::lastThreeQuarters:
        r = {maxX(f) - threeQuarters, minY(f), threeQuarters, h};
        break;
    case SnapIconKind::topLeftSixth:
        r = {minX(f), midY(f), third, h * 0.5};
        break;
    case SnapIconKind::topCenterSixth:
        r = {minX(f) + third, midY(f), third, h * 0.5};
        break;
    case SnapIconKind::topRightSixth:
        r = {minX(f) + twoThirds, midY(f), third, h * 0.5};
        break;
    case SnapIconKind::bottomLeftSixth:
        r = {minX(f), minY(f), third, h * 0.5};
        break;
    case SnapIconKind::bottomCenterSixth:
        r = {minX(f) + third, minY(f), third, h * 0.5};
        break;
    case SnapIconKind::bottomRightSixth:
        r = {minX(f) + twoThirds, minY(f), third, h * 0.5};
        break;
    case SnapIconKind::centerHalf:
    case SnapIconKind::centerTwoThirds:
    case SnapIconKind::centerThreeFourths: {
        const double factor = kind == SnapIconKind::centerHalf        ? 0.5
                              : kind == SnapIconKind::centerTwoThirds ? 2.0 / 3.0
                                                                      : 0.75;
        const double width = std::round(w * factor);
        return {midX(f) - width * 0.5, minY(f), width, h};
    }
    case SnapIconKind::center:
        r = {midX(f) - (w * 0.66) * 0.5, midY(f) - (h * 0.66) * 0.5, w * 0.66, h * 0.66};
        break;
    case SnapIconKind::almostMaximize: {
        const double width = std::round(w * 0.9);
        const double height = std::round(h * 0.9);
        r = {std::round(midX(f) - width * 0.5), std::round(midY(f) - height * 0.5), width, height};
        break;
    }
    case SnapIconKind::maximize:
    case SnapIconKind::macFullScreen:
    case SnapIconKind::fullScreenLeftHalf:
    case SnapIconKind::fullScreenRightHalf:
        r = f;
        withGaps = gaps.applyToMaximize;
        break;
    case SnapIconKind::grid1x2:
    case SnapIconKind::grid1x3:
    case SnapIconKind::grid2x1:
    case SnapIconKind::grid3x1:
    case SnapIconKind::grid2x2:
    case SnapIconKind::grid3x3:
    case SnapIconKind::grid4x4:
    case SnapIconKind::grid6x4:
    case SnapIconKind::grid8x2:
        return f;
    }
    return withGaps ? applyGaps(r, f, gaps) : r;
}

Rect applyGaps(const Rect& rect, const Rect& f, const GapSettings& gaps) {
    // A negative or NaN gap counts as 0, and a gap larger than a quarter of the frame's smaller
    // side (a number typed into the settings file) as that quarter, so every tile keeps its size.
    const GapSettings limited = gaps.limitedTo(f);
    const double gh = limited.horizontal;
    const double gv = limited.vertical;
    if (gh <= 0 && gv <= 0) return rect;
    const bool onLeft = std::abs(minX(rect) - minX(f)) <= 0.5;
    const bool onRight = std::abs(maxX(rect) - maxX(f)) <= 0.5;
    const bool onBottom = std::abs(minY(rect) - minY(f)) <= 0.5;
    const bool onTop = std::abs(maxY(rect) - maxY(f)) <= 0.5;
    Rect r = rect;
    if (gaps.left || !onLeft) {
        r.x += gh / 2;
        r.width -= gh / 2;
    }
    if (gaps.right || !onRight) r.width -= gh / 2;
    if (gaps.bottom || !onBottom) {
        r.y += gv / 2;
        r.height -= gv / 2;
    }
    if (gaps.top || !onTop) r.height -= gv / 2;
    r.width = std::max(r.width, 50.0);
    r.height = std::max(r.height, 50.0);
    return clamp(r, f);
}

Rect alignRectToPixelEdges(const Rect& rect, double scale) {
    const double p = pixelSize(scale);
    const auto snap = [p](double v) { return p * std::round(v / p); };
    const double left = snap(minX(rect));
    const double bottom = snap(minY(rect));
    const double right = snap(maxX(rect));
    const double top = snap(maxY(rect));
    return {left, bottom, std::max(right - left, 0.0), std::max(top - bottom, 0.0)};
}

Rect clamp(const Rect& rect, const Rect& bounds) {
    Rect r = rect;
    if (minX(r) < minX(bounds)) r.x = minX(bounds);
    if (minY(r) < minY(bounds)) r.y = minY(bounds);
    // A rectangle that starts beyond the right or the top edge would get a negative size: move it
    // back so that its far edge lies on the bounds' edge (never left of or below the bounds).
    if (minX(r) > maxX(bounds)) r.x = std::max(maxX(bounds) - r.width, minX(bounds));
    if (minY(r) > maxY(bounds)) r.y = std::max(maxY(bounds) - r.height, minY(bounds));
    if (maxX(bounds) < maxX(r)) r.width = maxX(bounds) - minX(r);
    if (maxY(bounds) < maxY(r)) r.height = maxY(bounds) - minY(r);
    return r;
}

} // namespace tilmora::SnapKindGeometry
