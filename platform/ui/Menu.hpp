#pragma once

#include "platform/ui/MenuItem.hpp"

#include <vector>

namespace platform::ui {

class Menu;

/// Told when a menu is about to be shown or read, when it opens and after it closed (main thread).
class MenuDelegate {
public:
    virtual ~MenuDelegate() = default;
    /// Called by `Menu::update` before anything else, so that a menu whose items are costly can
    /// make them only when it is about to be shown (or its items read); the delegate may add,
    /// remove or change items of `menu`.
    virtual void menuNeedsUpdate(Menu&) {}
    virtual void menuWillOpen(Menu&) {}
    virtual void menuDidClose(Menu&) {}
};

/// Notifications the menu tracking posts on the default center (object: the menu).
inline const std::string MenuDidBeginTrackingNotification = "NSMenuDidBeginTrackingNotification";
inline const std::string MenuDidEndTrackingNotification = "NSMenuDidEndTrackingNotification";

/// A menu: an ordered list of items, a title, a delegate (held weakly) and automatic enabling.
/// Menus are opened by the status item (`StatusItem::popUpStatusItemMenu`) or `popUp`; a tracking
/// session then runs the main run loop in event-tracking mode until the user picks an item or
/// dismisses the menu. Main thread only.
class Menu : public Responder {
public:
    explicit Menu(std::string title = {})
        : title(std::move(title)) {}
    static std::shared_ptr<Menu> make(const std::string& title = {}) { return std::make_shared<Menu>(title); }

    std::string title;
    bool autoenablesItems = true;
    std::weak_ptr<MenuDelegate> delegate;
    void setDelegate(const std::shared_ptr<MenuDelegate>& d) { delegate = d; }

    void addItem(const std::shared_ptr<MenuItem>& item);
    /// Adds a new item and returns it.
    std::shared_ptr<MenuItem> addItem(const std::string& title, const Selector& action,
                                      const std::string& keyEquivalent);
    void insertItem(const std::shared_ptr<MenuItem>& item, size_t index);
    void removeItem(const std::shared_ptr<MenuItem>& item);
    void removeItemAt(size_t index);
    void removeAllItems();
    const std::vector<std::shared_ptr<MenuItem>>& items() const { return items_; }
    size_t numberOfItems() const { return items_.size(); }
    std::shared_ptr<MenuItem> itemAt(size_t index) const {
        return index < items_.size() ? items_[index] : nullptr;
    }
    long indexOfItem(const MenuItem* item) const;
    std::shared_ptr<MenuItem> itemWithTitle(const std::string& title) const;
    std::shared_ptr<MenuItem> itemWithTag(long tag) const;
    /// The menu whose item has this menu as submenu; null for a top-level menu.
    Menu* supermenu() const { return supermenu_; }

    /// Gives the delegate its `menuNeedsUpdate`, then runs automatic enabling when
    /// `autoenablesItems` is set: an item with an action is enabled when its target, or the
    /// responder chain, answers the action; an item without action is enabled only when it has a
    /// submenu. Items of a menu without automatic enabling keep theirs. The menu tracking calls it
    /// on every menu it opens, and whoever reads a submenu's items as shown calls it first.
    void update();

    /// Opens the menu at `location` (points, global coordinates) and tracks it until the user picks
    /// an item or dismisses it; the picked item's action is sent. True when an item was picked.
    bool popUp(const std::shared_ptr<MenuItem>& positioningItem, Point location);

    /// A deep copy: items and submenus copied, the delegate shared.
    std::shared_ptr<Menu> copy() const;

private:
    friend class MenuItem;
    std::vector<std::shared_ptr<MenuItem>> items_;
    Menu* supermenu_ = nullptr;
};

} // namespace platform::ui
