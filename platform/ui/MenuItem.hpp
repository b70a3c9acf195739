#pragma once

#include "platform/input/ModifierFlags.hpp"
#include "platform/ui/Image.hpp"
#include "platform/ui/Responder.hpp"

#include <any>

namespace platform::ui {

class Menu;

/// One item of a menu: title, action (selector name) and target (held weakly), key equivalent and
/// modifier mask, state (on/off/mixed), enabled and hidden flags, tag, represented object (any
/// value), image, tooltip, submenu; or a separator. Main thread only.
class MenuItem : public Responder {
public:
    MenuItem() = default;
    MenuItem(const std::string& title, const Selector& action, const std::string& keyEquivalent)
        : title(title)
        , action(action)
        , keyEquivalent(keyEquivalent) {}

    static std::shared_ptr<MenuItem> make(const std::string& title, const Selector& action = {},
                                          const std::string& keyEquivalent = {});
    static std::shared_ptr<MenuItem> separatorItem();

    std::string title;
    Selector action;
    std::weak_ptr<Responder> target;
    std::string keyEquivalent;
    ModifierFlags keyEquivalentModifierMask = ModifierFlags::command;
    bool allowsAutomaticKeyEquivalentLocalization = true;
    int state = 0; // ControlState: -1 mixed, 0 off, 1 on
    bool isEnabled = true;
    bool isHidden = false;
    long tag = 0;
    std::any representedObject;
    std::shared_ptr<Image> image;
    std::string toolTip;

    bool isSeparatorItem() const { return separator_; }
    const std::shared_ptr<Menu>& submenu() const { return submenu_; }
    void setSubmenu(std::shared_ptr<Menu> submenu);
    bool hasSubmenu() const { return submenu_ != nullptr; }
    /// The menu that holds this item; null when it is in none.
    Menu* menu() const { return menu_; }
    void setTarget(const std::shared_ptr<Responder>& t) { target = t; }

    /// A new item with the same properties; the submenu is copied too, the target is shared.
    std::shared_ptr<MenuItem> copy() const;

private:
    friend class Menu;
    bool separator_ = false;
    std::shared_ptr<Menu> submenu_;
    Menu* menu_ = nullptr;
};

} // namespace platform::ui
