#pragma once

#include "model/Rect.hpp"
#include "snapping/GridPreset.hpp"
#include "snapping/PresetEdges.hpp"

#include <cstdint>
#include <optional>
#include <vector>

namespace tilmora {

/// The cell arithmetic of grid presets: laying a preset out over a visible frame in whole device
/// pixels, the tiles the overlays draw and the drag hit-tests, the tile a window snaps to and the
/// row and column of a tile. Rectangles are in global coordinates, points, y up. Holds no state;
/// any thread. Logs only the absurd shapes (once each, through `OnceLog`).
namespace GridLayout {

/// Cell positions and sizes of an even grid, points: columns left to right, rows bottom up.
struct GridMetrics {
    std::vector<double> colXs;
    std::vector<double> colWidths;
    std::vector<double> rowYs;
    std::vector<double> rowHeights;
};

/// Row and column of a tile, both counted from 1.
struct RowCol {
    std::int64_t row = 0;
    std::int64_t col = 0;
    friend bool operator==(const RowCol&, const RowCol&) = default;
};

/// Lays out `rows` x `cols` cells over `rect` with `gutter` points between cells, in whole device
/// pixels of `scale` (below 1 or NaN counts as 1): every cell but the last of a row or column gets
/// the even size floored to the pixel grid (at least one pixel), the last gets the rest rounded to
/// it. Rows and cols must be at least 1. Rows or cols above `GridPreset::maxCount`, or a gutter
/// that is not finite, lay out the fallback 2 x 2 grid without a gutter instead, logged once per
/// such shape ("[RoriDeru] Ignoring grid layout ...").
GridMetrics metrics(const Rect& rect, std::int64_t rows, std::int64_t cols, double gutter, double scale);

/// The tile rectangles of `preset` over the visible frame `visible` of a display with backing
/// scale `scale`, row by row from the bottom row, columns left to right (index r * cols + c).
/// `customEdges`, when given and of the preset's shape, replace the even grid (no gutter on that
/// path). A preset with rows or cols above `GridPreset::maxCount`, or a gutter that is not finite,
/// is laid out as the fallback 2 x 2 grid without a gutter (4 tiles), logged once per such shape.
std::vector<Rect> tiles(const Rect& visible, double scale, const PresetEdges* customEdges,
                        const GridPreset& preset);

/// The tile a window rectangle snaps to: the first tile with an edge closer than `threshold`
/// points to the window's same edge, else the tile with the largest overlap (the earlier on ties,
/// the first tile when none overlaps); absent only for an empty list.
std::optional<Rect> pickSnapTile(const Rect& windowRect, const std::vector<Rect>& tiles, double threshold);

/// Row and column (from 1) of the first tile equal to `tile`, with max(`cols`, 1) tiles per row;
/// absent when no tile equals it.
std::optional<RowCol> rowCol(const Rect& tile, const std::vector<Rect>& tiles, std::int64_t cols);

/// A tile inset by a preset's padding on every side (a negative or NaN padding counts as 0); a
/// padding larger than half the tile gives a zero size at the tile's centre instead of a negative
/// one.
Rect insetByPadding(const Rect& tile, double padding);

} // namespace GridLayout

} // namespace tilmora
