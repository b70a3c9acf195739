#pragma once

#include "model/Rect.hpp"
#include "platform/desktop/Geometry.hpp"
#include "platform/desktop/NSScreen.hpp"

#include <cstdint>
#include <string>

namespace tilmora {

/// The overlay of one display as the snap grid's state code drives it: a click-through window over
/// the display with a view that draws the preset's grid, a tile highlight and debug layers. The
/// snap grid keeps one per display number (`OverlayLifecycle::overlays`); `SystemOverlayWindow` is the
/// one over the UI toolkit, and tests put recording doubles in its place.
///
/// Frames are global coordinates (points, y up from the bottom of the main display). Main thread.
class OverlayWindow {
public:
    virtual ~OverlayWindow() = default;

    /// Sets the window's frame, drawing it at once when `display` is true.
    virtual void setFrame(const platform::CGRect& frame, bool display) = 0;
    /// Takes the window off the screen.
    virtual void orderOut() = 0;
    /// Lays out the content if it needs it, draws the window if it needs it and orders it in front
    /// of its level without activating the program.
    virtual void present() = 0;
    /// Orders the window in front of its level again without activating the program.
    virtual void orderFrontRegardless() = 0;

    /// Points the view at `screen`: its frame, visible frame and backing scale; marks it for layout.
    virtual void updateForScreen(const platform::NSScreen& screen) = 0;
    /// The grid the view draws: rows and columns (at least 1) and the gutter between cells (points,
    /// at least 0).
    virtual void setGrid(std::int64_t rows, std::int64_t cols, double gutter) = 0;
    /// Marks the view as needing layout (it redraws the grid on its next layout pass).
    virtual void setNeedsLayout() = 0;

    /// The grid layer's opacity: 1 shows the grid lines, 0 hides them.
    virtual void setGridOpacity(double opacity) = 0;
    virtual double gridOpacity() const = 0;

    /// Highlights the tile `tileRectInScreen` (global coordinates).
    virtual void setHighlight(const Rect& tileRectInScreen) = 0;
    /// Hides the tile highlight and removes its path.
    virtual void hideHighlight() = 0;
    /// Hides the debug layers: the window outline and the hit marker lose their paths, the debug
    /// text loses its text.
    virtual void clearDebug() = 0;
    /// Shows the drag's debug read-out: the outline of `windowRect` and a 7-point marker at
    /// `hitPoint` (both global coordinates) and `text` on the debug text line. Overlays without
    /// debug layers ignore it.
    virtual void showDebug(const Rect& windowRect, const platform::CGPoint& hitPoint, const std::string& text) {
        (void)windowRect;
        (void)hitPoint;
        (void)text;
    }
    /// Shows a short message on the toast line near the top of the display for 1.4 s.
    virtual void showToast(const std::string& text) = 0;

    /// Takes a retired overlay down: hides the highlight, clears the debug layers and orders the
    /// window out.
    void tearDown() {
        hideHighlight();
        clearDebug();
        orderOut();
    }
};

} // namespace tilmora
