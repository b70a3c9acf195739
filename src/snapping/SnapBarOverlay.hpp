#pragma once

#include "platform/ui/Color.hpp"
#include "platform/ui/declarative/ViewBase.hpp"
#include "snapping/SnapBarOverlayViewModel.hpp"

#include <memory>
#include <optional>

namespace tilmora {

/// The drawing of one preset-layout overlay, sized to its display's visible frame, in the view's
/// space (points, origin at the top-left, y down). Over a clear background it strokes the edges of
/// the layout's tiles (`TileEdgesShape`, less the highlighted tile's) with `overlayColor` at
/// `baseLineOpacity`, and draws a `HighlightedTileOverlay` over the highlighted tile, placed on
/// whole device pixels. Nothing in it takes clicks. A change of the view model's highlight redraws
/// it without animation. Main thread (its body).
class SnapBarOverlay : public platform::ui::declarative::Component<SnapBarOverlay> {
public:
    SnapBarOverlay(std::shared_ptr<SnapBarOverlayViewModel> viewModel, platform::ui::Color overlayColor,
                   platform::ui::Color highlightFill, double baseLineOpacity, double tileLineWidth,
                   double highlightLineWidth, double plusLineWidth)
        : viewModel(this, std::move(viewModel))
        , overlayColor(std::move(overlayColor))
        , highlightFill(std::move(highlightFill))
        , baseLineOpacity(baseLineOpacity)
        , tileLineWidth(tileLineWidth)
        , highlightLineWidth(highlightLineWidth)
        , plusLineWidth(plusLineWidth) {}
    SnapBarOverlay& operator=(const SnapBarOverlay&) = default;

    /// The overlay built with the program's values: system green outlines at opacity 0.55 and 3
    /// points wide, a highlight filled with system green at opacity 0.12 and outlined 3 points
    /// wide, a plus 2 points wide.
    static std::shared_ptr<SnapBarOverlay> standard(std::shared_ptr<SnapBarOverlayViewModel> viewModel);

    platform::ui::declarative::ObservedObject<SnapBarOverlayViewModel> viewModel;
    platform::ui::Color overlayColor;
    platform::ui::Color highlightFill;
    double baseLineOpacity;
    /// Points.
    double tileLineWidth;
    /// Points.
    double highlightLineWidth;
    /// Points.
    double plusLineWidth;

    platform::ui::declarative::Element body() override;

    /// The frame of the highlight of a tile with normalized frame `normalizedFrame` in a view of
    /// `size` on a display of scale `scale` (below 1 counts as 1): each side rounded to the nearest
    /// device pixel (halves away from zero), width and height at least 0. Points, y down.
    static platform::ui::Rect highlightFrame(const Rect& normalizedFrame, platform::ui::Size size,
                                             double scale);
};

} // namespace tilmora
