#pragma once

#include "platform/ui/Alert.hpp"
#include "platform/ui/Menu.hpp"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform::ui {

class PopUpButton;
class SearchField;
class Slider;
class StatusItem;
class TextField;
class View;

/// How the scripted user answers an alert: press a button (by index from 0, or by title), after
/// typing into the accessory view's text field; or close it without a button.
struct AlertResponse {
    enum class Kind { pressButton, close };
    Kind kind = Kind::pressButton;
    long buttonIndex = 0;
    std::optional<std::string> buttonTitle;
    std::optional<std::string> accessoryText;

    static AlertResponse press(long index, std::optional<std::string> typed = std::nullopt) {
        return {Kind::pressButton, index, std::nullopt, std::move(typed)};
    }
    static AlertResponse pressTitled(const std::string& title,
                                     std::optional<std::string> typed = std::nullopt) {
        return {Kind::pressButton, 0, title, std::move(typed)};
    }
    static AlertResponse close() { return {Kind::close, 0, std::nullopt, std::nullopt}; }
};

/// One alert as it was shown, and how it was answered.
struct AlertRecord {
    std::string messageText;
    std::string informativeText;
    AlertStyle style = AlertStyle::warning;
    std::vector<std::string> buttonTitles;
    bool asSheet = false;
    bool scripted = false;
    std::optional<long> response;
    std::string accessoryText;
};

/// How the scripted user handles an open menu: wait `afterSeconds` of virtual time with the menu
/// open (the run loop in event-tracking mode), then pick the item reached by following `path`
/// (item titles from the top menu down through submenus), or dismiss the menu when the path is
/// empty or leads nowhere selectable. `whileOpen` runs inside the session before the wait.
struct MenuPick {
    std::vector<std::string> path;
    double afterSeconds = 0.1;
    std::function<void(Menu&)> whileOpen;
};

/// One menu-tracking session as it happened.
struct MenuRecord {
    std::string menuTitle;
    std::vector<std::string> itemTitles;
    std::vector<std::string> pickedPath; // empty when dismissed
    bool picked = false;
};

/// The toolkit's control API: the scripted user of alerts and menus, the journals of what was
/// shown, counters (beeps, cursor pushes) and a user's input on AppKit-like controls.
/// Tests and the desktop console use it; the system's code never does. Everything it queued or
/// recorded is cleared by `SharedInstances::resetAll`. Main thread only.
class UISimulator {
public:
    // Alerts
    static void scriptAlertResponse(AlertResponse response);
    /// Answers alerts that no queued script covers; without one such alerts press their first button.
    static void setAlertResponder(std::function<AlertResponse(const Alert&)> responder);
    static const std::vector<AlertRecord>& alertLog();

    // Menus
    static void scriptMenuPick(MenuPick pick);
    /// Queues a user who reads the menu before deciding: when the next menu opens (after its
    /// delegate was told, before the wait) `choose` gets it and returns the pick.
    static void scriptMenuChoice(std::function<MenuPick(Menu&)> choose);
    /// Drops the queued picks that no menu has used yet.
    static void cancelMenuPicks();
    /// Handles menus that no queued script covers; without one such menus are dismissed.
    static void setMenuPicker(std::function<MenuPick(Menu&)> picker);
    static const std::vector<MenuRecord>& menuLog();
    /// Forgets the menu-tracking sessions recorded so far.
    static void clearMenuLog();

    // Modal windows that are not alerts
    /// Queues one step of the scripted user of a modal window (`Application::runModal`): at the
    /// next turn of the session that no alert answers, the step runs with the window and may work
    /// its controls (pick a pop-up item, click a button or radio button, press Return) or close
    /// it. Steps run one per turn, in order.
    static void scriptModalResponse(std::function<void(Window&)> step);
    /// Runs at every turn of a modal session once the queued steps are used up. Without either, a
    /// modal window nobody answers is aborted (`ModalResponse::abort`) at its first turn.
    static void setModalResponder(std::function<void(Window&)> responder);
    /// A key-down of Return delivered to the key window: clicks its first enabled button (depth
    /// first through the content view) whose key equivalent is Return ("\r"). False when there is
    /// no key window or no such button, or the click delivered no action.
    static bool pressReturnInKeyWindow();
    /// The first button of the window's content (depth first, pop-up buttons left out) with this
    /// title; null when there is none.
    static Button* findButton(Window& window, const std::string& title);
    /// The first pop-up button of the window's content (depth first); null when there is none.
    static PopUpButton* findPopUpButton(Window& window);

    // Application
    /// Another application becomes active: the program's application object resigns active
    /// (its key window resigns key, did-resign-active is posted) and its windows that hide on
    /// deactivation are ordered out. Nothing happens when it is not active.
    static void deactivateApplication();

    // Status bar
    static void setStatusBarThickness(double points);
    /// A click on the status item's button in the menu bar of the screen at `screenIndex`.
    static bool clickStatusItem(StatusItem& item, size_t screenIndex = 0);

    // Counters
    static int beepCount();
    static size_t cursorStackDepth();

    // A user's input on controls
    static bool click(Button& button);
    /// A pointer click at the centre of a view that takes clicks: a button (not a pop-up) or a
    /// text field that can become first responder. A button's mouse-down, then its mouse-up, go
    /// to the view (`View::mouseDown`, `View::mouseUp`), each the current event while it is
    /// handled; a field is clicked as `click(TextField&)` does where its window can become key.
    /// False, with nothing sent, for a hidden view, one outside a window or one that takes no
    /// clicks.
    static bool clickView(View& view);
    /// A click into an editable or selectable text field (a search field, a shortcut recorder): the
    /// application becomes active, the field's window key and the field its window's first
    /// responder, so that the keys typed next reach it. A field already being edited stays as it
    /// is. False when the field is hidden, disabled, not in a window, refuses to become first
    /// responder, or its window cannot become key.
    static bool click(TextField& field);
    static void typeText(TextField& field, const std::string& text);
    static void replaceText(TextField& field, const std::string& text);
    static void pressReturn(TextField& field);
    /// Ends the field's editing as a click elsewhere would (the window's first responder is cleared).
    static void endEditing(TextField& field);
    static void clickCancelButton(SearchField& field);
    /// Chooses the pop-up's item at `index` (-1: the user dismissed the menu, nothing changes).
    static bool pickPopUpItem(PopUpButton& popUp, long index);
    /// Drags the knob through `values` in order (the last is where it is released); a continuous
    /// slider sends its action at each value, another one only at the release.
    static void dragSlider(Slider& slider, const std::vector<double>& values);
};

} // namespace platform::ui
