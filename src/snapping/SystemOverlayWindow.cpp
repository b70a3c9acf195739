#include "snapping/SystemOverlayWindow.hpp"

#include "windows/GeometryBridge.hpp"

namespace tilmora {

SystemOverlayWindow::SystemOverlayWindow(const platform::NSScreen& screen)
    : view_(std::make_shared<OverlayView>(screen.frame()))
    , window_(std::make_shared<platform::ui::Window>(screen.frame(), platform::ui::StyleMask::borderless,
                                                     platform::ui::BackingStore::buffered, false)) {
    window_->setLevel(platform::ui::WindowLevel::screenSaver);
    window_->isOpaque = false;
    window_->backgroundColor = platform::ui::Color::clearColor();
    window_->setIgnoresMouseEvents(true);
    window_->collectionBehavior = platform::ui::CollectionBehavior::canJoinAllSpaces |
                                  platform::ui::CollectionBehavior::fullScreenAuxiliary;
    window_->hasShadow = false;
    window_->isReleasedWhenClosed = false;
    window_->setContentView(view_);
    view_->autoresizingMask =
        platform::ui::AutoresizingMask::widthSizable | platform::ui::AutoresizingMask::heightSizable;
    view_->updateForScreen(screen);
}

void SystemOverlayWindow::setFrame(const platform::CGRect& frame, bool display) {
    window_->setFrame(frame, display);
}

void SystemOverlayWindow::orderOut() {
    window_->orderOut();
}

void SystemOverlayWindow::present() {
    if (const auto& content = window_->contentView()) content->layoutSubtreeIfNeeded();
    window_->displayIfNeeded();
    window_->orderFrontRegardless();
}

void SystemOverlayWindow::orderFrontRegardless() {
    window_->orderFrontRegardless();
}

void SystemOverlayWindow::updateForScreen(const platform::NSScreen& screen) {
    view_->updateForScreen(screen);
}

void SystemOverlayWindow::setGrid(std::int64_t rows, std::int64_t cols, double gutter) {
    view_->rows = rows;
    view_->cols = cols;
    view_->gutter = gutter;
}

void SystemOverlayWindow::setNeedsLayout() {
    view_->setNeedsLayout(true);
}

void SystemOverlayWindow::setGridOpacity(double opacity) {
    view_->gridLayer->opacity = opacity;
}

double SystemOverlayWindow::gridOpacity() const {
    return view_->gridLayer->opacity;
}

void SystemOverlayWindow::setHighlight(const Rect& tileRectInScreen) {
    view_->setHighlight(toCGRect(tileRectInScreen));
}

void SystemOverlayWindow::hideHighlight() {
    view_->hideHighlight();
}

void SystemOverlayWindow::clearDebug() {
    view_->clearDebug();
}

void SystemOverlayWindow::showDebug(const Rect& windowRect, const platform::CGPoint& hitPoint,
                                    const std::string& text) {
    view_->showDebug(toCGRect(windowRect), hitPoint, text);
}

void SystemOverlayWindow::showToast(const std::string& text) {
    view_->showToast(text);
}

} // namespace tilmora
