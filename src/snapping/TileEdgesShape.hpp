#pragma once

#include "model/Tile.hpp"
#include "model/TileId.hpp"
#include "platform/ui/Path.hpp"
#include "platform/ui/Rect.hpp"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace tilmora {

/// The outlines of a layout's tiles, snapped to device pixels so that an edge two tiles share is
/// drawn once. The path is in the view's space: points, origin at the top-left, y down, for a view
/// of the given size (tile fractions are taken of that size, y measured from the top).
/// Pure; any thread.
struct TileEdgesShape {
    /// A position counted in device pixels.
    struct QPoint {
        std::int64_t x = 0;
        std::int64_t y = 0;
        friend bool operator==(const QPoint&, const QPoint&) = default;
        friend auto operator<=>(const QPoint&, const QPoint&) = default;
    };

    /// One straight edge from its smaller end `a` to its larger end `b`, so the same segment is
    /// always an equal edge.
    struct Edge {
        QPoint a;
        QPoint b;
        friend bool operator==(const Edge&, const Edge&) = default;
        friend auto operator<=>(const Edge&, const Edge&) = default;
    };

    std::vector<Tile> tiles;
    /// The tile whose edges are left out (the highlighted one, whose border the highlight draws).
    std::optional<TileId> excludedTileId;
    /// Device pixels per point; at most 1 counts as 1.
    double displayScale = 1;

    /// The edge path for a view of `rect`'s size: for every distinct edge of the tiles (less the
    /// excluded tile's four edges when a tile carries that id; the first such tile), a move to its
    /// first end and a line to its second, each end at a whole device pixel. Only identical
    /// segments merge. Edges come in ascending order of their pixel ends.
    platform::ui::Path path(const platform::ui::Rect& rect) const;

    /// The distinct edges `path` draws, in the same order, in device pixels.
    std::vector<Edge> edges(const platform::ui::Size& size) const;

    /// The four edges of a rectangle in points (top, bottom, left, right, each end rounded to the
    /// nearest device pixel of size `pixel` points, halves away from zero).
    static std::vector<Edge> edges(const platform::ui::Rect& rect, double pixel);

    /// The size of one device pixel in points: 1 / `displayScale`, or 1 when the scale is at most 1
    /// (or not a number).
    double pixelSize() const;
};

} // namespace tilmora

template <>
struct std::hash<tilmora::TileEdgesShape::QPoint> {
    std::size_t operator()(const tilmora::TileEdgesShape::QPoint& p) const noexcept {
        const std::size_t h = std::hash<std::int64_t>{}(p.x);
        return h ^ (std::hash<std::int64_t>{}(p.y) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
    }
};

template <>
struct std::hash<tilmora::TileEdgesShape::Edge> {
    std::size_t operator()(const tilmora::TileEdgesShape::Edge& e) const noexcept {
        const std::size_t h = std::hash<tilmora::TileEdgesShape::QPoint>{}(e.a);
        return h ^ (std::hash<tilmora::TileEdgesShape::QPoint>{}(e.b) + 0x9e3779b97f4a7c15ULL + (h << 6) +
                    (h >> 2));
    }
};
