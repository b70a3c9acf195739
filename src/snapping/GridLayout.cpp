#include "snapping/GridLayout.hpp"

#include "platform/foundation/Text.hpp"
#include "snapping/OnceLog.hpp"
#include "snapping/RectMath.hpp"

#include <algorithm>
#include <cmath>
#include <string>

namespace tilmora::GridLayout {

using namespace RectMath;

namespace {

/// Area of the intersection of two rectangles; 0 when they do not overlap.
double intersectionArea(const Rect& a, const Rect& b) {
    const double width = std::max(std::min(maxX(a), maxX(b)) - std::max(minX(a), minX(b)), 0.0);
    const double height = std::max(std::min(maxY(a), maxY(b)) - std::max(minY(a), minY(b)), 0.0);
    return width * height;
}

/// Splits one axis of the grid: `count` cells over `length` points from `origin`.
void splitAxis(double origin, double length, std::int64_t count, double gutter, double p,
               std::vector<double>& starts, std::vector<double>& sizes) {
    const auto n = static_cast<std::size_t>(std::max<std::int64_t>(count, 1));
    starts.resize(n);
    sizes.resize(n);
    const double available = length - static_cast<double>(n - 1) * gutter;
    const double base = p * std::floor((available / static_cast<double>(n)) / p);
    double sum = 0;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        sizes[i] = std::max(base, p);
        sum += sizes[i];
    }
    const double last = available - sum;
    sizes[n - 1] = std::max(p * std::round(last / p), p);
    double start = origin;
    for (std::size_t i = 0; i < n; ++i) {
        starts[i] = start;
        start = start + sizes[i] + gutter;
    }
}

/// Rows, columns and gutter of an even grid as the layout uses them.
struct GridShape {
    std::int64_t rows = 1;
    std::int64_t cols = 1;
    double gutter = 0;
};

/// The shape to lay out: the given one, or, when rows or cols exceed `GridPreset::maxCount` or the
/// gutter is not finite, the fallback shape of 2 x 2 cells without a gutter, which keeps a huge
/// preset that arrives by any route (a remembered display layout, a preset built in code) from
/// creating billions of cells. Logs each such shape once.
GridShape safeGridShape(std::int64_t rows, std::int64_t cols, double gutter) {
    if (rows <= GridPreset::maxCount && cols <= GridPreset::maxCount && std::isfinite(gutter))
        return {rows, cols, gutter};
    const std::string shape = std::to_string(rows) + "x" + std::to_string(cols) + " (gutter " +
                              platform::Text::doubleDescription(gutter) + ")";
    OnceLog::shared().printOnce("layout " + shape,
                                "[RoriDeru] Ignoring grid layout " + shape +
                                    ": rows and columns must be at most 64 and the gutter finite; using 2x2");
    const auto fallback = GridPreset::fallback();
    return {fallback.rows, fallback.cols, fallback.gutter};
}

} // namespace

GridMetrics metrics(const Rect& rect, std::int64_t rows, std::int64_t cols, double gutter, double scale) {
    const double p = pixelSize(scale);
    const GridShape shape = safeGridShape(rows, cols, gutter);
    GridMetrics result;
    splitAxis(rect.x, rect.width, shape.cols, shape.gutter, p, result.colXs, result.colWidths);
    splitAxis(rect.y, rect.height, shape.rows, shape.gutter, p, result.rowYs, result.rowHeights);
    return result;
}

std::vector<Rect> tiles(const Rect& f, double scale, const PresetEdges* customEdges,
                        const GridPreset& preset) {
    const GridShape shape = safeGridShape(preset.rows, preset.cols, preset.gutter);
    const std::int64_t rows = std::max<std::int64_t>(shape.rows, 1);
    const std::int64_t cols = std::max<std::int64_t>(shape.cols, 1);
    const auto rowCount = static_cast<std::size_t>(rows);
    const auto colCount = static_cast<std::size_t>(cols);
    std::vector<Rect> result;
    result.reserve(rowCount * colCount);

    if (customEdges != nullptr && customEdges->xs.size() == colCount + 1 &&
        customEdges->ys.size() == rowCount + 1) {
        const auto& edges = *customEdges;
        for (std::size_t r = 0; r < rowCount; ++r) {
            const double y0 = minY(f) + edges.ys[r] * f.height;
            const double y1 = minY(f) + edges.ys[r + 1] * f.height;
            for (std::size_t c = 0; c < colCount; ++c) {
                const double x0 = minX(f) + edges.xs[c] * f.width;
                const double x1 = minX(f) + edges.xs[c + 1] * f.width;
                result.push_back({x0, y0, x1 - x0, y1 - y0});
            }
        }
        return result;
    }

    const auto cells = metrics(f, rows, cols, shape.gutter, scale);
    for (std::size_t r = 0; r < rowCount; ++r) {
        for (std::size_t c = 0; c < colCount; ++c) {
            result.push_back({cells.colXs[c], cells.rowYs[r], cells.colWidths[c], cells.rowHeights[r]});
        }
    }
    return result;
}

std::optional<Rect> pickSnapTile(const Rect& w, const std::vector<Rect>& tiles, double threshold) {
    for (const auto& t : tiles) {
        if (std::abs(minX(w) - minX(t)) < threshold || std::abs(maxX(w) - maxX(t)) < threshold ||
            std::abs(maxY(w) - maxY(t)) < threshold || std::abs(minY(w) - minY(t)) < threshold) {
            return t;
        }
    }
    if (tiles.empty()) return std::nullopt;
    std::size_t best = 0;
    double bestArea = intersectionArea(w, tiles[0]);
    for (std::size_t i = 1; i < tiles.size(); ++i) {
        const double area = intersectionArea(w, tiles[i]);
        if (area > bestArea) {
            best = i;
            bestArea = area;
        }
    }
    return tiles[best];
}

std::optional<RowCol> rowCol(const Rect& tile, const std::vector<Rect>& tiles, std::int64_t cols) {
    const auto it = std::find(tiles.begin(), tiles.end(), tile);
    if (it == tiles.end()) return std::nullopt;
    const auto index = static_cast<std::int64_t>(it - tiles.begin());
    const std::int64_t c = std::max<std::int64_t>(cols, 1);
    return RowCol{index / c + 1, index % c + 1};
}

Rect insetByPadding(const Rect& tile, double padding) {
    const double inset = (std::isnan(padding) || padding < 0) ? 0.0 : padding;
    Rect r{tile.x + inset, tile.y + inset, tile.width - 2 * inset, tile.height - 2 * inset};
    if (r.width < 0) {
        r.x = midX(tile);
        r.width = 0;
    }
    if (r.height < 0) {
        r.y = midY(tile);
        r.height = 0;
    }
    return r;
}

} // namespace tilmora::GridLayout
