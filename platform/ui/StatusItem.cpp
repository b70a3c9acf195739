#include "platform/ui/StatusItem.hpp"

#include "platform/dispatch/MainThread.hpp"

#include "platform/desktop/NSScreen.hpp"
#include "platform/foundation/SharedInstance.hpp"
#include "platform/ui/MenuTracking.hpp"

#include <algorithm>

namespace platform::ui {

StatusItem::StatusItem(double len)
    : length(len) {
    button_ = std::make_shared<StatusBarButton>();
    button_->isBordered = false;
    // On the first display's menu bar; without displays, where a laptop's menu bar would be.
    auto screens = NSScreen::screens();
    const Rect f = screens.empty() ? Rect{0, 0, 1440, 900} : screens.front().frame();
    window_ = std::make_shared<Panel>(StatusBar::system().buttonFrame(f),
                                      StyleMask::borderless | StyleMask::nonactivatingPanel);
    window_->setLevel(WindowLevel::statusBar);
    window_->setContentView(button_);
    window_->orderFrontRegardless();
}

void StatusItem::popUpStatusItemMenu(const std::shared_ptr<Menu>& m) {
    requireMainThread("StatusItem::popUpStatusItemMenu");
    if (m) MenuTracking::track(m);
}

void StatusItem::placeOnMenuBar(const CGRect& screenFrame) {
    requireMainThread("StatusItem::placeOnMenuBar");
    const CGRect f = StatusBar::system().buttonFrame(screenFrame);
    if (window_->frame() != f) window_->setFrame(f, false);
}

StatusBar& StatusBar::system() {
    return SharedInstance<StatusBar>::get();
}

std::shared_ptr<StatusItem> StatusBar::statusItem(double length) {
    requireMainThread("StatusBar::statusItem");
    auto item = std::make_shared<StatusItem>(length);
    items_.push_back(item);
    return item;
}

void StatusBar::removeStatusItem(const std::shared_ptr<StatusItem>& item) {
    requireMainThread("StatusBar::removeStatusItem");
    items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
}

} // namespace platform::ui

namespace platform::ui {

CGRect StatusBar::buttonFrame(const CGRect& screenFrame) const {
    return {screenFrame.maxX() - 200, screenFrame.maxY() - thickness_, 24, thickness_};
}

bool StatusBar::pressOnMenuBar(CGPoint location) {
    requireMainThread("StatusBar::pressOnMenuBar");
    if (items_.empty()) return false;
    for (const auto& screen : NSScreen::screens()) {
        const CGRect frame = screen.frame();
        if (!buttonFrame(frame).contains(location)) continue;
        for (const auto& item : items_)
            item->placeOnMenuBar(frame);
        return true;
    }
    return false;
}

} // namespace platform::ui
