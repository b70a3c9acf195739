#pragma once

#include "platform/desktop/NSScreen.hpp"
#include "platform/ui/Window.hpp"
#include "snapping/OverlayView.hpp"
#include "snapping/OverlayWindow.hpp"

#include <memory>

namespace tilmora {

/// A display's overlay over the UI toolkit: a borderless window covering the screen's frame at the
/// screen-saver level (1000), not opaque, clear, without shadow, on every Space and beside
/// full-screen windows (collection behaviour 257), and click-through: the window server's hit
/// testing passes over it, so drags and clicks reach the windows below. Its content is an
/// `OverlayView` that resizes with the window.
///
/// Dropping the last reference takes the window off the window server's list. Frames are global
/// coordinates (points, y up). Main thread only; logs nothing.
class SystemOverlayWindow : public OverlayWindow {
public:
    /// Makes the overlay of `screen`, pointed at the screen, not yet ordered in.
    explicit SystemOverlayWindow(const platform::NSScreen& screen);
    SystemOverlayWindow(const SystemOverlayWindow&) = delete;
    SystemOverlayWindow& operator=(const SystemOverlayWindow&) = delete;

    platform::ui::Window& window() { return *window_; }
    const platform::ui::Window& window() const { return *window_; }
    /// The window's content view.
    OverlayView& view() { return *view_; }
    const OverlayView& view() const { return *view_; }

    void setFrame(const platform::CGRect& frame, bool display) override;
    void orderOut() override;
    void present() override;
    void orderFrontRegardless() override;
    void updateForScreen(const platform::NSScreen& screen) override;
    void setGrid(std::int64_t rows, std::int64_t cols, double gutter) override;
    void setNeedsLayout() override;
    void setGridOpacity(double opacity) override;
    double gridOpacity() const override;
    void setHighlight(const Rect& tileRectInScreen) override;
    void hideHighlight() override;
    void clearDebug() override;
    void showDebug(const Rect& windowRect, const platform::CGPoint& hitPoint, const std::string& text) override;
    void showToast(const std::string& text) override;

private:
    std::shared_ptr<OverlayView> view_;
    std::shared_ptr<platform::ui::Window> window_;
};

} // namespace tilmora
