#include "model/DisplayMoveCalculator.hpp"

#include <algorithm>

namespace tilmora::DisplayMoveCalculator {

namespace {

double maxX(const Rect& r) {
    return r.x + r.width;
}
double maxY(const Rect& r) {
    return r.y + r.height;
}

// Moves `rect` right or up into `frame` and shrinks it at the far edges; never moves it left or
// down, and never shrinks it below 50 points at the right or top edge.
Rect clampInPlace(Rect rect, const Rect& frame) {
    if (rect.x < frame.x) rect.x = frame.x;
    if (rect.y < frame.y) rect.y = frame.y;
    if (maxX(rect) > maxX(frame)) rect.width = std::max(maxX(frame) - rect.x, 50.0);
    if (maxY(rect) > maxY(frame)) rect.height = std::max(maxY(frame) - rect.y, 50.0);
    if (rect.width > frame.width) rect.width = frame.width;
    if (rect.height > frame.height) rect.height = frame.height;
    return rect;
}

// True when `rect` shares no area with `frame`.
bool liesOutside(const Rect& rect, const Rect& frame) {
    return rect.x >= maxX(frame) || rect.y >= maxY(frame) || maxX(rect) <= frame.x || maxY(rect) <= frame.y;
}

// `rect` shifted inside `frame`, its size cut to the frame's.
Rect shiftInside(Rect rect, const Rect& frame) {
    rect.width = std::min(rect.width, frame.width);
    rect.height = std::min(rect.height, frame.height);
    rect.x = std::max(frame.x, std::min(rect.x, maxX(frame) - rect.width));
    rect.y = std::max(frame.y, std::min(rect.y, maxY(frame) - rect.height));
    return rect;
}

} // namespace

Rect targetFrame(const Rect& window, const std::optional<Rect>& source, const Rect& destination,
                 bool preserveRelative) {
    Rect mapped = window;
    if (preserveRelative && source) {
        const Rect& s = *source;
        double sw = std::max(s.width, 1.0);
        double sh = std::max(s.height, 1.0);
        mapped.x = destination.x + (window.x - s.x) / sw * destination.width;
        mapped.y = destination.y + (window.y - s.y) / sh * destination.height;
        mapped.width = window.width / sw * destination.width;
        mapped.height = window.height / sh * destination.height;
    }
    return clamp(mapped, destination);
}

Rect clamp(const Rect& rect, const Rect& frame) {
    Rect clamped = clampInPlace(rect, frame);
    if (frame.width > 0 && frame.height > 0 && liesOutside(clamped, frame)) return shiftInside(rect, frame);
    return clamped;
}

} // namespace tilmora::DisplayMoveCalculator
