#pragma once

#include "model/Rect.hpp"
#include "model/SnapIconKind.hpp"
#include "platform/ui/Canvas.hpp"
#include "platform/ui/Image.hpp"

#include <cstdint>
#include <memory>
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

/// A new picture of `kind` of `size` points, drawn on the toolkit's vector canvas in the image's own
/// coordinates (points, origin bottom-left, y up): the frame F (the image inset by 1 point) filled with
/// the calibrated white 0.92 and outlined with the calibrated white 0.75 at width 1, then the grid
/// lines of a grid kind or the kind's area filled in system blue. A size below 2 points (or not
/// finite) in either direction leaves no room inside the margin and gives an image with no drawing.
/// Nothing is cached. Any thread; logs nothing.
std::shared_ptr<platform::ui::Image> image(SnapIconKind kind, platform::ui::Size size);

/// The grid dimensions of the nine grid kinds (`grid6x4`: 6 rows, 4 columns); absent for every other
/// kind. The only place that gives a grid kind its dimensions.
std::optional<GridSpec> gridSpec(SnapIconKind kind);

/// Strokes the interior grid lines of `rect` (image coordinates, points) onto `canvas` as one path in
/// system blue at width 1: vertical lines for the columns, horizontal lines for the rows. Rows or cols
/// below 2 give no lines in that direction; nothing is drawn when there are no lines at all.
void drawGrid(platform::ui::Canvas& canvas, const Rect& rect, std::int64_t rows, std::int64_t cols);

/// The area of `kind` inside `rect`, in the coordinates of `rect`; nothing is rounded and no gaps
/// apply. Whole-frame and grid kinds give `rect` itself.
Rect highlightRect(SnapIconKind kind, const Rect& rect);

} // namespace SnapIconFactory

} // namespace tilmora
