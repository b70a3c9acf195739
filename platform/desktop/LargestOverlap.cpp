#include "platform/desktop/LargestOverlap.hpp"

#include <cmath>

namespace platform {

namespace {

bool isFinite(const CGRect& r) {
    return std::isfinite(r.origin.x) && std::isfinite(r.origin.y) && std::isfinite(r.size.width) &&
           std::isfinite(r.size.height);
}

} // namespace

std::optional<std::size_t> indexOfLargestOverlap(const CGRect& rect, const std::vector<CGRect>& frames) {
    std::optional<std::size_t> best;
    if (!isFinite(rect)) return best;
    double bestArea = 0;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        // A frame with a NaN or infinite edge overlaps nothing (a NaN edge would otherwise drop out
        // of the min/max of the intersection and leave the other frame's edge).
        if (!isFinite(frames[i])) continue;
        const double area = rect.intersection(frames[i]).area();
        // Strictly larger: ties keep the earlier frame.
        if (area > bestArea) {
            bestArea = area;
            best = i;
        }
    }
    return best;
}

std::optional<NSScreen> screenWithLargestOverlap(const CGRect& rect, const std::vector<NSScreen>& screens,
                                                 ScreenArea area, std::optional<NSScreen> fallback) {
    std::vector<CGRect> frames;
    frames.reserve(screens.size());
    for (const auto& s : screens)
        frames.push_back(area == ScreenArea::frame ? s.frame() : s.visibleFrame());
    if (auto i = indexOfLargestOverlap(rect, frames)) return screens[*i];
    return fallback;
}

} // namespace platform
