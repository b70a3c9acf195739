#pragma once

#include "model/Rect.hpp"
#include "model/SnapIconKind.hpp"
#include "snapping/SnapIcon.hpp"

#include <cstdint>
#include <optional>

namespace tilmora {

/// Draws the small picture of each snap kind: a light grey screen with a grey outline and either the
/// kind's area filled in blue or, for the grid kinds, blue grid lines. Pictures are drawn anew on
/// every call; nothing is cached. Any thread (no state).
namespace SnapIconFactory {

/// Rows and columns of a grid kind.
struct GridSpec {
    std::int64_t rows = 0;
    std::int64_t cols = 0;
    friend bool operator==(const GridSpec&, const GridSpec&) = default;
};

/// The picture of `kind` at `width` x `height` points. A size below 2 points (or not finite) in
/// either direction leaves no room inside the 1-point margin and gives a picture without commands.
SnapIcon image(SnapIconKind kind, double width, double height);

/// The grid dimensions of the nine grid kinds (`grid6x4`: 6 rows, 4 columns); absent for every other
/// kind. The only place that gives a grid kind its dimensions.
std::optional<GridSpec> gridSpec(SnapIconKind kind);

/// Appends to `icon` one path of the interior grid lines of `rect` (vertical lines for the columns,
/// horizontal lines for the rows), stroked in system blue at width 1. Nothing is appended when rows
/// and cols are both below 2.
void drawGrid(SnapIcon& icon, const Rect& rect, std::int64_t rows, std::int64_t cols);

/// The area of `kind` inside `rect`, in the coordinates of `rect`; nothing is rounded and no gaps
/// apply. Whole-frame and grid kinds give `rect` itself.
Rect highlightRect(SnapIconKind kind, const Rect& rect);

} // namespace SnapIconFactory

} // namespace tilmora
