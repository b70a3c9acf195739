#pragma once

#include "platform/foundation/SharedInstance.hpp"

#include "platform/ui/Button.hpp"
#include "platform/ui/Menu.hpp"
#include "platform/ui/Panel.hpp"

namespace platform::ui {

/// Status-item lengths.
namespace StatusItemLength {
inline constexpr double variable = -1;
inline constexpr double square = -2;
} // namespace StatusItemLength

/// The button of a status item. It lives in a small window in the menu bar of one screen, so its
/// window's screen is the display whose menu bar shows it.
class StatusBarButton : public Button {};

/// An item in the status bar: length, a button (image, title, target, action), an optional menu
/// opened by a click, and `popUpStatusItemMenu`, which opens a menu tracking session. Main thread only.
class StatusItem : public Responder {
public:
    explicit StatusItem(double length);

    double length;
    std::shared_ptr<Menu> menu;
    bool isVisible = true;
    const std::shared_ptr<StatusBarButton>& button() const { return button_; }
    /// The menu-bar window holding the button.
    const std::shared_ptr<Panel>& buttonWindow() const { return window_; }

    /// Opens `menu` below the item and tracks it (see `Menu`); returns when the menu closed.
    void popUpStatusItemMenu(const std::shared_ptr<Menu>& menu);

private:
    std::shared_ptr<StatusBarButton> button_;
    std::shared_ptr<Panel> window_;
};

/// The system status bar: one shared instance of the simulated system's (`system()`, reset by
/// `SharedInstances::resetAll`), its thickness (points; the simulator may change it) and its items
/// (the program's leave it when the program terminates).
class StatusBar {
public:
    static constexpr SharedScope sharedScope = SharedScope::desktop;
    static StatusBar& system();

    double thickness() const { return thickness_; }
    std::shared_ptr<StatusItem> statusItem(double length);
    void removeStatusItem(const std::shared_ptr<StatusItem>& item);
    const std::vector<std::shared_ptr<StatusItem>>& items() const { return items_; }

private:
    friend class UISimulator;
    friend class platform::SharedInstance<StatusBar>;
    double thickness_ = 24;
    std::vector<std::shared_ptr<StatusItem>> items_;
};

} // namespace platform::ui
