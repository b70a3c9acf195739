#include "platform/ui/PopUpButton.hpp"

#include "platform/ui/TextMetrics.hpp"

#include "platform/dispatch/MainThread.hpp"

namespace platform::ui {

PopUpButton::PopUpButton(Rect frame, bool pulls)
    : Button(frame)
    , pullsDown(pulls) {
    buttonType = ButtonType::momentaryPushIn;
}

void PopUpButton::addItem(const std::string& t) {
    requireMainThread("PopUpButton::addItem");
    // Like the original platform, a title already present is removed first so titles stay unique.
    if (auto existing = menu_->itemWithTitle(t)) {
        if (existing == selected_) selected_.reset();
        menu_->removeItem(existing);
    }
    menu_->addItem(MenuItem::make(t));
    if (!selected_ && !pullsDown) selected_ = menu_->itemAt(0);
}

void PopUpButton::addItems(const std::vector<std::string>& titles) {
    for (auto& t : titles)
        addItem(t);
}

void PopUpButton::removeAllItems() {
    menu_->removeAllItems();
    selected_.reset();
}

void PopUpButton::removeItemAt(long index) {
    auto item = itemAt(index);
    if (!item) return;
    menu_->removeItem(item);
    if (item == selected_) selected_ = pullsDown ? nullptr : menu_->itemAt(0);
}

std::vector<std::string> PopUpButton::itemTitles() const {
    std::vector<std::string> out;
    for (auto& item : menu_->items())
        out.push_back(item->title);
    return out;
}

std::shared_ptr<MenuItem> PopUpButton::itemAt(long index) const {
    return index < 0 ? nullptr : menu_->itemAt(static_cast<size_t>(index));
}

void PopUpButton::selectItemAt(long index) {
    requireMainThread("PopUpButton::selectItemAt");
    selected_ = itemAt(index);
    for (auto& item : menu_->items())
        item->state = item == selected_ ? 1 : 0;
}

void PopUpButton::selectItemWithTitle(const std::string& t) {
    selectItemAt(menu_->indexOfItem(menu_->itemWithTitle(t).get()));
}

long PopUpButton::indexOfSelectedItem() const {
    return selected_ ? menu_->indexOfItem(selected_.get()) : -1;
}

Size PopUpButton::intrinsicContentSize() const {
    double longest = 0;
    for (auto& item : menu_->items())
        longest = std::max(longest, TextMetrics::width(item->title, font));
    return {longest + 40, 22};
}

} // namespace platform::ui
