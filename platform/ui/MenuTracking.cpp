#include "platform/ui/MenuTracking.hpp"

#include "platform/dispatch/MainThread.hpp"

#include "platform/input/EventQueue.hpp"

#include "platform/ui/Application.hpp"
#include "platform/ui/Runtime.hpp"
#include "platform/internal/UiScript.hpp"

namespace platform::ui {

namespace {
Menu* tracked = nullptr;
}

bool MenuTracking::isTracking() {
    return tracked != nullptr;
}
Menu* MenuTracking::trackedMenu() {
    return tracked;
}

bool MenuTracking::track(const std::shared_ptr<Menu>& menu) {
    requireMainThread("MenuTracking::track");
    if (!menu || tracked) return false;
    tracked = menu.get();
    menu->update();
    if (auto d = menu->delegate.lock()) d->menuWillOpen(*menu);
    runtime::post(MenuDidBeginTrackingNotification, menu.get());

    MenuPick pick = UiScript::shared().nextMenuPick(*menu);
    if (pick.whileOpen) {
        auto fn = pick.whileOpen;
        runtime::mainAsync([fn, menu] { fn(*menu); });
    }
    runtime::runLoop(runtime::eventTrackingMode, std::max(pick.afterSeconds, 0.0));

    // Follow the path through the submenus, opening each on the way.
    std::vector<std::shared_ptr<Menu>> opened;
    std::shared_ptr<MenuItem> chosen;
    std::shared_ptr<Menu> current = menu;
    for (size_t i = 0; i < pick.path.size() && current; ++i) {
        auto item = current->itemWithTitle(pick.path[i]);
        if (!item || item->isHidden || item->isSeparatorItem() || !item->isEnabled) break;
        if (i + 1 == pick.path.size()) {
            if (!item->hasSubmenu()) chosen = item;
            break;
        }
        current = item->submenu();
        if (!current) break;
        current->update();
        if (auto d = current->delegate.lock()) d->menuWillOpen(*current);
        opened.push_back(current);
    }
    for (auto it = opened.rbegin(); it != opened.rend(); ++it)
        if (auto d = (*it)->delegate.lock()) d->menuDidClose(**it);
    if (auto d = menu->delegate.lock()) d->menuDidClose(*menu);
    runtime::post(MenuDidEndTrackingNotification, menu.get());
    tracked = nullptr;

    MenuRecord record{menu->title, {}, chosen ? pick.path : std::vector<std::string>{}, chosen != nullptr};
    for (auto& item : menu->items())
        record.itemTitles.push_back(item->title);
    UiScript::shared().menuTracked(std::move(record));
    if (!chosen) return false;

    // The action runs with the mouse-up that picked the item as the current event.
    EventQueue::CurrentEventScope scope(NSEvent::mouseEvent(EventType::leftMouseUp, NSEvent::mouseLocation(),
                                                            NSEvent::currentModifierFlags(), runtime::now(),
                                                            0, 1));
    auto target = chosen->target.lock();
    Application::shared().sendAction(chosen->action, target.get(), chosen.get());
    return true;
}

} // namespace platform::ui
