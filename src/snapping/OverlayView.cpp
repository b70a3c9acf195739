#include "snapping/OverlayView.hpp"

#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/DispatchTime.hpp"
#include "platform/ui/Path.hpp"
#include "snapping/GridLayout.hpp"
#include "windows/GeometryBridge.hpp"

#include <algorithm>
#include <cstddef>

namespace tilmora {

namespace {

using platform::CGRect;
using platform::ui::Color;
using platform::ui::Path;

/// The contents scale of the text layers: the main screen's backing scale, 2 without screens.
double mainScreenScale() {
    const auto main = platform::NSScreen::main();
    return main ? main->backingScaleFactor() : 2.0;
}

} // namespace

OverlayView::OverlayView(const platform::ui::Rect& frame)
    : View(frame)
    , gridLayer(std::make_shared<platform::ui::ShapeLayer>())
    , highlightLayer(std::make_shared<platform::ui::ShapeLayer>())
    , debugWindowLayer(std::make_shared<platform::ui::ShapeLayer>())
    , debugCenterLayer(std::make_shared<platform::ui::ShapeLayer>())
    , debugTextLayer(std::make_shared<platform::ui::TextLayer>())
    , toastTextLayer(std::make_shared<platform::ui::TextLayer>()) {
    setWantsLayer(true);
    if (layer()) setupLayers();
}

void OverlayView::setupLayers() {
    layer()->backgroundColor = Color::clearColor();

    gridLayer->fillColor = Color::clearColor();
    gridLayer->strokeColor = Color::systemGreen();
    gridLayer->lineWidth = 3;
    gridLayer->lineJoin = "round";
    gridLayer->opacity = 0;

    highlightLayer->fillColor = Color::systemGreen().withAlphaComponent(0.12);
    highlightLayer->strokeColor = Color::systemGreen();

    debugWindowLayer->fillColor = Color::clearColor();
    debugWindowLayer->strokeColor = Color::systemRed().withAlphaComponent(0.9);
    debugWindowLayer->lineWidth = 2;

    debugCenterLayer->fillColor = Color::systemYellow();
    debugCenterLayer->strokeColor = Color::systemYellow();

    const double textScale = mainScreenScale();
    debugTextLayer->alignmentMode = "left";
    debugTextLayer->foregroundColor = Color::labelColor().withAlphaComponent(0.95);
    debugTextLayer->backgroundColor = Color::textBackgroundColor().withAlphaComponent(0.75);
    debugTextLayer->font = platform::ui::Font::monospacedSystemFont(11, "regular");
    debugTextLayer->fontSize = 11;
    debugTextLayer->cornerRadius = 4;
    debugTextLayer->contentsScale = textScale;

    toastTextLayer->alignmentMode = "center";
    toastTextLayer->foregroundColor = Color::whiteColor();
    toastTextLayer->backgroundColor = Color::blackColor().withAlphaComponent(0.75);
    toastTextLayer->font = platform::ui::Font::monospacedSystemFont(12, "semibold");
    toastTextLayer->fontSize = 12;
    toastTextLayer->cornerRadius = 6;
    toastTextLayer->masksToBounds = true;
    toastTextLayer->opacity = 0;
    toastTextLayer->contentsScale = textScale;

    layer()->addSublayer(gridLayer);
    layer()->addSublayer(highlightLayer);
    layer()->addSublayer(debugWindowLayer);
    layer()->addSublayer(debugCenterLayer);
    layer()->addSublayer(debugTextLayer);
    layer()->addSublayer(toastTextLayer);
    clearDebug();
}

CGRect OverlayView::visibleInView() const {
    return {visibleFrame.minX() - screenFrame.minX(), visibleFrame.minY() - screenFrame.minY(),
            visibleFrame.width(), visibleFrame.height()};
}

void OverlayView::updateForScreen(const platform::NSScreen& screen) {
    screenFrame = screen.frame();
    visibleFrame = screen.visibleFrame();
    scale = screen.backingScaleFactor();
    if (layer()) {
        layer()->backgroundColor = Color::clearColor();
        layer()->contentsScale = scale;
    }
    gridLayer->contentsScale = scale;
    highlightLayer->contentsScale = scale;
    debugWindowLayer->contentsScale = scale;
    debugCenterLayer->contentsScale = scale;
    debugTextLayer->contentsScale = scale;
    setNeedsLayout(true);
}

void OverlayView::layout() {
    View::layout();
    const CGRect whole = platform::CGRectIntegral(bounds());
    gridLayer->frame = whole;
    highlightLayer->frame = whole;
    debugWindowLayer->frame = whole;
    debugCenterLayer->frame = whole;

    const CGRect visible = visibleInView();
    // A visible frame narrower than the margins gives an empty line, never a negative width.
    const double debugWidth = std::max(0.0, std::min(visible.width() - 12, 420.0));
    debugTextLayer->frame = {visible.minX() + 8, visible.maxY() - 100 - 8, debugWidth, 100};
    const double toastWidth = std::max(0.0, std::min(visible.width() - 24, 520.0));
    toastTextLayer->frame = {visible.midX() - toastWidth / 2, visible.maxY() - 42, toastWidth, 28};
    redraw();
}

void OverlayView::redraw() {
    const CGRect visible = visibleInView();
    const std::int64_t rowCount = std::max<std::int64_t>(rows, 1);
    const std::int64_t colCount = std::max<std::int64_t>(cols, 1);
    const auto metrics =
        GridLayout::metrics(toRect(visible), rowCount, colCount, gutter, std::max(scale, 1.0));

    Path path;
    // Half a point in on each side, so the 3-point stroke stays inside the visible frame; a frame
    // smaller than a point gives an empty border rather than a negative one.
    path.addRect({visible.minX() + 0.5, visible.minY() + 0.5, std::max(0.0, visible.width() - 1),
                  std::max(0.0, visible.height() - 1)});
    if (colCount > 1) {
        for (std::size_t i = 1; i < metrics.colXs.size(); ++i) {
            const double x = metrics.colXs[i] - 0.5;
            path.addLine({x, visible.minY()}, {x, visible.maxY()});
        }
    }
    if (rowCount > 1) {
        for (std::size_t i = 1; i < metrics.rowYs.size(); ++i) {
            const double y = metrics.rowYs[i] - 0.5;
            path.addLine({visible.minX(), y}, {visible.maxX(), y});
        }
    }
    gridLayer->path = path;
    gridLayer->fillColor = Color::clearColor();
    gridLayer->strokeColor = color.withAlphaComponent(0.98);
    gridLayer->lineWidth = 3;
    gridLayer->lineJoin = "round";
}

void OverlayView::setHighlight(const CGRect& tileRectInScreen) {
    const CGRect r = platform::CGRectIntegral({tileRectInScreen.minX() - screenFrame.minX(),
                                               tileRectInScreen.minY() - screenFrame.minY(),
                                               tileRectInScreen.width(), tileRectInScreen.height()});
    Path path;
    path.addRoundedRect(r, 6, 6);
    const double arm = std::max(std::min(r.width(), r.height()) * 0.18, 6.0);
    path.addLine({r.midX() - arm, r.midY()}, {r.midX() + arm, r.midY()});
    path.addLine({r.midX(), r.midY() - arm}, {r.midX(), r.midY() + arm});
    highlightLayer->path = path;
    highlightLayer->hidden = false;
    highlightLayer->strokeColor = color;
    highlightLayer->fillColor = color.withAlphaComponent(0.12);
}

void OverlayView::hideHighlight() {
    highlightLayer->hidden = true;
    highlightLayer->path.reset();
}

void OverlayView::clearDebug() {
    debugWindowLayer->path.reset();
    debugWindowLayer->hidden = true;
    debugCenterLayer->path.reset();
    debugCenterLayer->hidden = true;
    debugTextLayer->string.reset();
    debugTextLayer->hidden = true;
}

void OverlayView::showDebug(const CGRect& windowRect, platform::CGPoint hitPoint, const std::string& text) {
    platform::ui::Path outline;
    outline.addRect({windowRect.minX() - screenFrame.minX(), windowRect.minY() - screenFrame.minY(),
                     windowRect.width(), windowRect.height()});
    debugWindowLayer->path = outline;
    debugWindowLayer->hidden = false;
    platform::ui::Path marker;
    marker.addEllipse(
        {hitPoint.x - screenFrame.minX() - 3.5, hitPoint.y - screenFrame.minY() - 3.5, 7, 7});
    debugCenterLayer->path = marker;
    debugCenterLayer->hidden = false;
    debugTextLayer->string = text;
    debugTextLayer->hidden = false;
}

void OverlayView::showToast(const std::string& text) {
    if (toastHideWorkItem) toastHideWorkItem->cancel();
    toastTextLayer->string = text;
    toastTextLayer->removeAllAnimations();
    toastTextLayer->opacity = 1;

    const std::weak_ptr<platform::ui::Responder> weakView = weak_from_this();
    auto item = std::make_shared<platform::DispatchWorkItem>([weakView] {
        const auto alive = weakView.lock();
        if (!alive) return;
        auto& view = static_cast<OverlayView&>(*alive);
        view.toastTextLayer->addAnimation({"opacity", 1.0, 0.0, toastFadeSeconds}, "fade");
        view.toastTextLayer->opacity = 0;
    });
    toastHideWorkItem = item;
    platform::DispatchQueue::main().asyncAfter(platform::DispatchTime::now() + toastSeconds, item);
}

} // namespace tilmora
