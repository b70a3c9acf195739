#pragma once

#include "platform/ui/Image.hpp"
#include "platform/ui/Responder.hpp"

#include <any>

namespace platform::ui {

class Menu;

/// Modifier-flag bits (key equivalents, events).
namespace ModifierFlags {
inline constexpr unsigned capsLock = 1u << 16;
inline constexpr unsigned shift = 1u << 17;
inline constexpr unsigned control = 1u << 18;
inline constexpr unsigned option = 1u << 19;
inline constexpr unsigned command = 1u << 20;
inline constexpr unsigned numericPad = 1u << 21;
inline constexpr unsigned help = 1u << 22;
inline constexpr unsigned function = 1u << 23;
inline constexpr unsigned deviceIndependentMask = 0xffff0000u;
} // namespace ModifierFlags

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
    unsigned keyEquivalentModifierMask = ModifierFlags::command;
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
