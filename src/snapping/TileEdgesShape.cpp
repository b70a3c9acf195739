#include "snapping/TileEdgesShape.hpp"

#include <algorithm>
#include <cmath>

namespace tilmora {

namespace {

/// `value` in device pixels, rounded half away from zero. Values beyond the 64-bit range (and NaN)
/// become 0 rather than undefined.
std::int64_t pixels(double value, double pixel) {
    const double r = std::round(value / pixel);
    if (!(std::abs(r) < 9.0e18)) return 0;
    return static_cast<std::int64_t>(r);
}

} // namespace

double TileEdgesShape::pixelSize() const {
    return displayScale > 1 ? 1 / displayScale : 1;
}

std::vector<TileEdgesShape::Edge> TileEdgesShape::edges(const platform::ui::Rect& rect, double pixel) {
    const std::int64_t x0 = pixels(rect.minX(), pixel), x1 = pixels(rect.maxX(), pixel);
    const std::int64_t y0 = pixels(rect.minY(), pixel), y1 = pixels(rect.maxY(), pixel);
    const std::int64_t left = std::min(x0, x1), right = std::max(x0, x1);
    const std::int64_t top = std::min(y0, y1), bottom = std::max(y0, y1);
    return {
        Edge{{left, y0}, {right, y0}},
        Edge{{left, y1}, {right, y1}},
        Edge{{x0, top}, {x0, bottom}},
        Edge{{x1, top}, {x1, bottom}},
    };
}

std::vector<TileEdgesShape::Edge> TileEdgesShape::edges(const platform::ui::Size& size) const {
    const double p = pixelSize();
    const double w = size.width, h = size.height;
    auto rectOf = [&](const Tile& tile) {
        const Rect& f = tile.normalizedFrame;
        return platform::ui::Rect{f.x * w, f.y * h, f.width * w, f.height * h};
    };
    std::vector<Edge> all;
    all.reserve(tiles.size() * 4);
    for (const auto& tile : tiles) {
        const auto four = edges(rectOf(tile), p);
        all.insert(all.end(), four.begin(), four.end());
    }
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    if (excludedTileId) {
        const auto excluded = std::find_if(tiles.begin(), tiles.end(),
                                           [&](const Tile& tile) { return tile.id == *excludedTileId; });
        if (excluded != tiles.end()) {
            for (const auto& edge : edges(rectOf(*excluded), p)) {
                const auto at = std::lower_bound(all.begin(), all.end(), edge);
                if (at != all.end() && *at == edge) all.erase(at);
            }
        }
    }
    return all;
}

platform::ui::Path TileEdgesShape::path(const platform::ui::Rect& rect) const {
    const double p = pixelSize();
    platform::ui::Path path;
    for (const auto& edge : edges(platform::ui::Size{rect.width(), rect.height()})) {
        path.moveTo({static_cast<double>(edge.a.x) * p, static_cast<double>(edge.a.y) * p});
        path.lineTo({static_cast<double>(edge.b.x) * p, static_cast<double>(edge.b.y) * p});
    }
    return path;
}

} // namespace tilmora
