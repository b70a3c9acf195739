#pragma once

#include "platform/desktop/NSScreen.hpp"
#include "platform/dispatch/DispatchWorkItem.hpp"
#include "platform/ui/Color.hpp"
#include "platform/ui/ShapeLayer.hpp"
#include "platform/ui/TextLayer.hpp"
#include "platform/ui/View.hpp"

#include <cstdint>
#include <memory>
#include <string>

namespace tilmora {

/// The content of a display's overlay: a layer-backed view as large as the display that draws, in
/// six layers from back to front, the preset's grid inside the visible frame, the highlight of one
/// tile, a debug outline of the dragged window, a debug marker of the hit point, a debug read-out
/// and a toast line near the top of the visible frame.
///
/// Coordinates: `screenFrame`, `visibleFrame` and the tiles passed in are global (points, origin
/// at the bottom-left of the main display, y up). The view draws in its own space, whose origin is
/// the screen frame's origin; the visible frame there is `visibleInView()`.
///
/// The snap grid sets `rows`, `cols`, `gutter`, the grid layer's opacity and the highlight and
/// debug layers directly; the view itself draws the grid on its layout pass. Main thread only;
/// the toast's fade runs later on the main queue. Logs nothing.
class OverlayView : public platform::ui::View {
public:
    /// Seconds a toast stays before it fades.
    static constexpr double toastSeconds = 1.4;
    /// Seconds of the toast's fade.
    static constexpr double toastFadeSeconds = 0.25;

    /// A view with `frame` (the screen's frame, in its window's space), layer-backed, with its
    /// layers set up: grid and toast invisible (opacity 0), debug layers hidden and empty.
    explicit OverlayView(const platform::ui::Rect& frame);

    /// The stroke of the grid and the highlight: calibrated pure green.
    const platform::ui::Color color = platform::ui::Color::rgba(0, 1, 0, 1);
    std::int64_t rows = 3;
    std::int64_t cols = 3;
    /// Points between cells.
    double gutter = 0;
    platform::CGRect screenFrame;
    platform::CGRect visibleFrame;
    /// The display's backing scale factor.
    double scale = 2;

    const std::shared_ptr<platform::ui::ShapeLayer> gridLayer;
    const std::shared_ptr<platform::ui::ShapeLayer> highlightLayer;
    const std::shared_ptr<platform::ui::ShapeLayer> debugWindowLayer;
    const std::shared_ptr<platform::ui::ShapeLayer> debugCenterLayer;
    const std::shared_ptr<platform::ui::TextLayer> debugTextLayer;
    const std::shared_ptr<platform::ui::TextLayer> toastTextLayer;
    /// The pending fade of the toast, cancelled by the next toast.
    std::shared_ptr<platform::DispatchWorkItem> toastHideWorkItem;

    /// Takes `screen`'s frame, visible frame and backing scale (the toast keeps the contents scale
    /// it got at set-up) and marks the view for layout.
    void updateForScreen(const platform::NSScreen& screen);

    /// Sizes the layers to the view and places the debug text (8 points in from the top-left of the
    /// visible frame, at most 420 x 100) and the toast (centred, 42 points below the top of the
    /// visible frame, at most 520 x 28; neither width goes below 0), then redraws the grid.
    void layout() override;

    /// Rebuilds the grid path: the visible frame inset by half a point, and a line half a point
    /// before the start of every column and row but the first, over the cells of `rows` x `cols`
    /// with `gutter` (at least 1 x 1, scale at least 1).
    void redraw();

    /// Shows the highlight of `tileRectInScreen` (global): a rounded rectangle (radius 6) over the
    /// tile made integral in view space, with a plus sign at its centre whose arms are 18 % of the
    /// shorter side, at least 6 points.
    void setHighlight(const platform::CGRect& tileRectInScreen);

    /// Hides the highlight and removes its path.
    void hideHighlight();

    /// Hides the debug layers: the window outline and the hit marker lose their paths, the debug
    /// text loses its text.
    void clearDebug();

    /// Shows the debug layers: the outline of `windowRect` and a 7-point circle centred on
    /// `hitPoint` (both global coordinates, drawn in view space) and `text` on the debug line.
    void showDebug(const platform::CGRect& windowRect, platform::CGPoint hitPoint, const std::string& text);

    /// Shows `text` on the toast line at once (opacity 1, earlier animations removed) and fades it
    /// out 1.4 s later with the "fade" animation (opacity 1 to 0 over 0.25 s). A later toast
    /// replaces the text and restarts the wait; the earlier fade never runs.
    void showToast(const std::string& text);

    /// The visible frame in view space: its origin less the screen frame's origin.
    platform::CGRect visibleInView() const;

private:
    void setupLayers();
};

} // namespace tilmora
