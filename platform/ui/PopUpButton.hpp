#pragma once

#include "platform/ui/Button.hpp"
#include "platform/ui/Menu.hpp"

namespace platform::ui {

/// A pop-up button: a menu of items of which one is selected (index -1: none). Choosing an item
/// (through `UISimulator`) selects it and sends the action. Main thread only.
class PopUpButton : public Button {
public:
    explicit PopUpButton(Rect frame = {}, bool pullsDown = false);

    bool pullsDown = false;
    const std::shared_ptr<Menu>& menu() const { return menu_; }

    void addItem(const std::string& title);
    void addItems(const std::vector<std::string>& titles);
    void removeAllItems();
    void removeItemAt(long index);
    long numberOfItems() const { return static_cast<long>(menu_->numberOfItems()); }
    std::vector<std::string> itemTitles() const;
    std::shared_ptr<MenuItem> itemAt(long index) const;
    /// Selects the item at `index`; -1 or an index out of range selects nothing.
    void selectItemAt(long index);
    void selectItemWithTitle(const std::string& title);
    long indexOfSelectedItem() const;
    std::shared_ptr<MenuItem> selectedItem() const { return selected_; }
    std::string titleOfSelectedItem() const { return selected_ ? selected_->title : std::string(); }

    std::string stringValue() const override { return titleOfSelectedItem(); }
    /// A pointer click opens the item menu and nothing is chosen by the click itself (the
    /// simulator chooses items with `UISimulator::pickPopUpItem`): no state change, no action.
    void mouseUp(const NSEvent& event) override { (void)event; }
    Size intrinsicContentSize() const override;

private:
    friend class UISimulator;
    std::shared_ptr<Menu> menu_ = std::make_shared<Menu>();
    std::shared_ptr<MenuItem> selected_;
};

} // namespace platform::ui
