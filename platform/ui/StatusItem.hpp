#pragma once

#include "platform/foundation/SharedInstance.hpp"

#include "platform/ui/Button.hpp"
#include "platform/ui/Menu.hpp"
#include "platform/ui/Panel.hpp"

namespace platform {
class SimInput;
}

namespace platform::ui {

/// Status-item lengths.
namespace StatusItemLength {
inline constexpr double variable = -1;
inline constexpr double square = -2;
} // namespace StatusItemLength

/// The button of a status item. Every display's menu bar shows it; it lives in a small window on
/// the menu bar of the display last pressed there (the first display's at first), so its window's
/// screen is the display whose menu bar was clicked.
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
    // The window server's side: the simulated user's press and click bring the button there.
    friend class StatusBar;
    friend class UISimulator;
    /// Moves the button's window onto the menu bar of the display whose frame is `screenFrame`
    /// (global points), at `StatusBar::buttonFrame`. Main thread only.
    void placeOnMenuBar(const CGRect& screenFrame);

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
    /// Where the status items' button shows on the menu bar of a display whose frame is
    /// `screenFrame` (global points): 24 points wide, 200 points in from the display's right edge,
    /// the bar's thickness high at its top. The window server hit-tests it there and the screen
    /// capture draws it there, on every display.
    CGRect buttonFrame(const CGRect& screenFrame) const;
    std::shared_ptr<StatusItem> statusItem(double length);
    void removeStatusItem(const std::shared_ptr<StatusItem>& item);
    const std::vector<std::shared_ptr<StatusItem>>& items() const { return items_; }

private:
    friend class UISimulator;
    friend class platform::SimInput;
    friend class platform::SharedInstance<StatusBar>;
    /// The window server's part in a press of the pointer at `location` (global points): a press
    /// on a display's menu bar where the button shows moves the items' button windows onto that
    /// display's menu bar, before the press is hit-tested. False for a press elsewhere (nothing
    /// moves). Main thread only.
    bool pressOnMenuBar(CGPoint location);
    double thickness_ = 24;
    std::vector<std::shared_ptr<StatusItem>> items_;
};

} // namespace platform::ui
