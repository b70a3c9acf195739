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
    // In the menu bar of the screen that has it (the first); without screens, where a laptop's
    // menu bar would be.
    auto screens = NSScreen::screens();
    Rect f = screens.empty() ? Rect{0, 0, 1440, 900} : screens.front().frame();
    double thickness = StatusBar::system().thickness();
    window_ = std::make_shared<Panel>(Rect{f.maxX() - 200, f.maxY() - thickness, 24, thickness},
                                      StyleMask::borderless | StyleMask::nonactivatingPanel);
    window_->setLevel(WindowLevel::statusBar);
    window_->setContentView(button_);
    window_->orderFrontRegardless();
}

void StatusItem::popUpStatusItemMenu(const std::shared_ptr<Menu>& m) {
    requireMainThread("StatusItem::popUpStatusItemMenu");
    if (m) MenuTracking::track(m);
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
