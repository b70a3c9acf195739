#include "platform/ui/Menu.hpp"

#include "platform/dispatch/MainThread.hpp"

#include "platform/ui/Application.hpp"
#include "platform/ui/MenuTracking.hpp"

#include <algorithm>

namespace platform::ui {

std::shared_ptr<MenuItem> MenuItem::make(const std::string& title, const Selector& action,
                                         const std::string& keyEquivalent) {
    return std::make_shared<MenuItem>(title, action, keyEquivalent);
}

std::shared_ptr<MenuItem> MenuItem::separatorItem() {
    auto item = std::make_shared<MenuItem>();
    item->separator_ = true;
    item->isEnabled = false;
    return item;
}

void MenuItem::setSubmenu(std::shared_ptr<Menu> submenu) {
    if (submenu_) submenu_->supermenu_ = nullptr;
    submenu_ = std::move(submenu);
    if (submenu_) submenu_->supermenu_ = menu_;
}

std::shared_ptr<MenuItem> MenuItem::copy() const {
    auto item = std::make_shared<MenuItem>(title, action, keyEquivalent);
    item->target = target;
    item->keyEquivalentModifierMask = keyEquivalentModifierMask;
    item->allowsAutomaticKeyEquivalentLocalization = allowsAutomaticKeyEquivalentLocalization;
    item->state = state;
    item->isEnabled = isEnabled;
    item->isHidden = isHidden;
    item->tag = tag;
    item->representedObject = representedObject;
    item->image = image;
    item->toolTip = toolTip;
    item->separator_ = separator_;
    if (submenu_) item->setSubmenu(submenu_->copy());
    return item;
}

void Menu::addItem(const std::shared_ptr<MenuItem>& item) {
    requireMainThread("Menu::addItem");
    insertItem(item, items_.size());
}

std::shared_ptr<MenuItem> Menu::addItem(const std::string& title, const Selector& action,
                                        const std::string& keyEquivalent) {
    auto item = MenuItem::make(title, action, keyEquivalent);
    addItem(item);
    return item;
}

void Menu::insertItem(const std::shared_ptr<MenuItem>& item, size_t index) {
    requireMainThread("Menu::insertItem");
    if (!item) return;
    // An item lives in one menu at a time; the original platform refuses a second owner outright.
    if (item->menu_ && item->menu_ != this) item->menu_->removeItem(item);
    if (item->menu_ == this) return;
    item->menu_ = this;
    if (item->submenu_) item->submenu_->supermenu_ = this;
    items_.insert(items_.begin() + static_cast<long>(std::min(index, items_.size())), item);
}

void Menu::removeItem(const std::shared_ptr<MenuItem>& item) {
    requireMainThread("Menu::removeItem");
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    (*it)->menu_ = nullptr;
    items_.erase(it);
}

void Menu::removeItemAt(size_t index) {
    if (index < items_.size()) removeItem(items_[index]);
}

void Menu::removeAllItems() {
    requireMainThread("Menu::removeAllItems");
    for (auto& item : items_)
        item->menu_ = nullptr;
    items_.clear();
}

long Menu::indexOfItem(const MenuItem* item) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == item) return static_cast<long>(i);
    return -1;
}

std::shared_ptr<MenuItem> Menu::itemWithTitle(const std::string& t) const {
    for (auto& item : items_)
        if (item->title == t) return item;
    return nullptr;
}

std::shared_ptr<MenuItem> Menu::itemWithTag(long t) const {
    for (auto& item : items_)
        if (item->tag == t) return item;
    return nullptr;
}

void Menu::update() {
    requireMainThread("Menu::update");
    if (auto d = delegate.lock()) d->menuNeedsUpdate(*this);
    if (!autoenablesItems) return;
    auto& app = Application::shared();
    for (auto& item : items_) {
        if (item->isSeparatorItem()) continue;
        if (item->action.empty()) {
            item->isEnabled = item->hasSubmenu();
        } else {
            auto t = item->target.lock();
            item->isEnabled = app.targetForAction(item->action, t.get()) != nullptr;
        }
    }
}

bool Menu::popUp(const std::shared_ptr<MenuItem>&, Point) {
    requireMainThread("Menu::popUp");
    return MenuTracking::track(std::static_pointer_cast<Menu>(shared_from_this()));
}

std::shared_ptr<Menu> Menu::copy() const {
    auto m = std::make_shared<Menu>(title);
    m->autoenablesItems = autoenablesItems;
    m->delegate = delegate;
    for (auto& item : items_)
        m->addItem(item->copy());
    return m;
}

} // namespace platform::ui
