#pragma once

#include "platform/ui/Color.hpp"
#include "platform/ui/Path.hpp"
#include "platform/ui/declarative/ViewBase.hpp"

namespace tilmora {

/// The highlight of the tile under the pointer: a rectangle filled with `highlightFill`, outlined
/// with `overlayColor` at `lineWidth`, and a plus sign at its centre stroked with `overlayColor` at
/// `plusLineWidth` (round caps and joins, miter limit 10). It fills the frame its parent gives it.
/// Main thread (its body).
class HighlightedTileOverlay : public platform::ui::declarative::Component<HighlightedTileOverlay> {
public:
    HighlightedTileOverlay(platform::ui::Color overlayColor, platform::ui::Color highlightFill,
                           double lineWidth, double plusLineWidth)
        : overlayColor(std::move(overlayColor))
        , highlightFill(std::move(highlightFill))
        , lineWidth(lineWidth)
        , plusLineWidth(plusLineWidth) {}
    HighlightedTileOverlay& operator=(const HighlightedTileOverlay&) = default;

    platform::ui::Color overlayColor;
    platform::ui::Color highlightFill;
    /// Points.
    double lineWidth;
    /// Points.
    double plusLineWidth;

    platform::ui::declarative::Element body() override;

    /// The plus sign of a highlight of `size` (points, y down): two segments through the centre,
    /// horizontal then vertical, each arm max(min(width, height) x 0.18, 6) points long.
    static platform::ui::Path plusPath(platform::ui::Size size);
};

} // namespace tilmora
