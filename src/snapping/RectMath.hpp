#pragma once

#include "model/Rect.hpp"

#include <algorithm>
#include <cmath>

namespace tilmora {

/// The edge and centre reads of a rectangle that the snap grid's arithmetic uses, taken from the
/// fields as they stand (no standardising of a negative size), and the device-pixel size of a
/// backing scale. Pure; any thread.
namespace RectMath {

inline double minX(const Rect& r) {
    return r.x;
}
inline double maxX(const Rect& r) {
    return r.x + r.width;
}
inline double midX(const Rect& r) {
    return r.x + r.width / 2;
}
inline double minY(const Rect& r) {
    return r.y;
}
inline double maxY(const Rect& r) {
    return r.y + r.height;
}
inline double midY(const Rect& r) {
    return r.y + r.height / 2;
}

/// The size of one device pixel in points for a backing scale; a scale below 1 or NaN counts as 1.
inline double pixelSize(double scale) {
    const double s = std::isnan(scale) ? 1.0 : std::max(scale, 1.0);
    return 1.0 / s;
}

} // namespace RectMath

} // namespace tilmora
