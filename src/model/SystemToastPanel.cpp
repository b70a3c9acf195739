#include "model/SystemToastPanel.hpp"

#include "platform/ui/AnimationContext.hpp"

namespace tilmora {

namespace ui = platform::ui;

SystemToastPanel::SystemToastPanel(const ToastPanelSpec& spec) {
    const Rect& r = spec.contentRect;
    panel_ =
        std::make_shared<ui::Panel>(ui::Rect{r.x, r.y, r.width, r.height},
                                    static_cast<unsigned>(spec.styleMask), ui::BackingStore::buffered, false);
    panel_->isOpaque = spec.opaque;
    panel_->backgroundColor = ui::Color::clearColor();
    panel_->setLevel(spec.level);
    panel_->collectionBehavior = static_cast<unsigned>(spec.collectionBehavior);
    panel_->isMovableByWindowBackground = spec.movableByWindowBackground;
    panel_->hidesOnDeactivate = spec.hidesOnDeactivate;
}

void SystemToastPanel::setContent(const NotificationView& view) {
    panel_->setContentViewController(
        std::make_shared<ui::declarative::HostingController>(std::make_shared<NotificationView>(view)));
}

void SystemToastPanel::setAlpha(double alpha) {
    panel_->setAlphaValue(alpha);
}

void SystemToastPanel::fadeAlpha(double alpha, double seconds, std::function<void()> completion) {
    ui::AnimationContext::runAnimationGroup(
        [this, alpha, seconds](ui::AnimationContext& context) {
            context.duration = seconds;
            panel_->animator().setAlphaValue(alpha);
        },
        std::move(completion));
}

void SystemToastPanel::orderFrontRegardless() {
    panel_->orderFrontRegardless();
}

void SystemToastPanel::orderOut() {
    panel_->orderOut();
}

} // namespace tilmora
