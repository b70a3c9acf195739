#include "platform/control/UISimulator.hpp"

#include "platform/desktop/NSScreen.hpp"
#include "platform/internal/UiScript.hpp"
#include "platform/input/EventQueue.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/ClickActivation.hpp"
#include "platform/ui/Beep.hpp"
#include "platform/ui/Cursor.hpp"
#include "platform/ui/Image.hpp"
#include "platform/ui/PopUpButton.hpp"
#include "platform/ui/Runtime.hpp"
#include "platform/ui/SearchField.hpp"
#include "platform/ui/Slider.hpp"
#include "platform/ui/StatusItem.hpp"
#include "platform/ui/TextField.hpp"
#include "platform/ui/Window.hpp"

#include <algorithm>
#include <deque>

namespace platform::ui {

// --- alerts ---------------------------------------------------------------------------------

void UISimulator::scriptAlertResponse(AlertResponse response) {
    UiScript::shared().alertScript.push_back(std::move(response));
}

void UISimulator::setAlertResponder(std::function<AlertResponse(const Alert&)> responder) {
    UiScript::shared().alertResponder = std::move(responder);
}

const std::vector<AlertRecord>& UISimulator::alertLog() {
    return UiScript::shared().alertLog;
}

// --- menus ----------------------------------------------------------------------------------

void UISimulator::scriptMenuPick(MenuPick pick) {
    UiScript::shared().menuScript.push_back([pick = std::move(pick)](Menu&) { return pick; });
}

void UISimulator::scriptMenuChoice(std::function<MenuPick(Menu&)> choose) {
    UiScript::shared().menuScript.push_back(std::move(choose));
}

void UISimulator::cancelMenuPicks() {
    UiScript::shared().menuScript.clear();
}

void UISimulator::setMenuPicker(std::function<MenuPick(Menu&)> picker) {
    UiScript::shared().menuPicker = std::move(picker);
}

const std::vector<MenuRecord>& UISimulator::menuLog() {
    return UiScript::shared().menuLog;
}

void UISimulator::clearMenuLog() {
    UiScript::shared().menuLog.clear();
}

// --- modal windows ----------------------------------------------------------------------------

namespace {

/// Calls `visit` with every view under `view` (itself first, then its subviews back to front,
/// depth first) until it answers true; returns that view.
View* findView(View* view, const std::function<bool(View&)>& visit) {
    if (!view) return nullptr;
    if (visit(*view)) return view;
    for (const auto& sub : std::vector<std::shared_ptr<View>>(view->subviews()))
        if (auto* found = findView(sub.get(), visit)) return found;
    return nullptr;
}

} // namespace

void UISimulator::scriptModalResponse(std::function<void(Window&)> step) {
    UiScript::shared().modalScript.push_back(std::move(step));
}

void UISimulator::setModalResponder(std::function<void(Window&)> responder) {
    UiScript::shared().modalResponder = std::move(responder);
}

bool UISimulator::pressReturnInKeyWindow() {
    auto* window = Application::shared().keyWindow();
    if (!window) return false;
    auto* found = findView(window->contentView().get(), [](View& v) {
        auto* button = dynamic_cast<Button*>(&v);
        return button && !dynamic_cast<PopUpButton*>(button) && button->isEnabled &&
               button->keyEquivalent == KeyEquivalent::returnKey;
    });
    return found && static_cast<Button*>(found)->performClick();
}

Button* UISimulator::findButton(Window& window, const std::string& title) {
    return static_cast<Button*>(findView(window.contentView().get(), [&](View& v) {
        auto* button = dynamic_cast<Button*>(&v);
        return button && !dynamic_cast<PopUpButton*>(button) && button->title == title;
    }));
}

PopUpButton* UISimulator::findPopUpButton(Window& window) {
    return static_cast<PopUpButton*>(
        findView(window.contentView().get(), [](View& v) { return dynamic_cast<PopUpButton*>(&v) != nullptr; }));
}

// --- application ----------------------------------------------------------------------------

void UISimulator::deactivateApplication() {
    auto& app = Application::shared();
    if (app.active_) app.resignActive();
}

// --- status bar -------------------------------------------------------------------------------

void UISimulator::setStatusBarThickness(double points) {
    StatusBar::system().thickness_ = points;
}

bool UISimulator::clickStatusItem(StatusItem& item, size_t screenIndex) {
    auto screens = NSScreen::screens();
    if (screenIndex < screens.size()) item.placeOnMenuBar(screens[screenIndex].frame());
    return click(*item.button());
}

// --- counters -------------------------------------------------------------------------------

int UISimulator::beepCount() {
    return UiScript::shared().beeps;
}
size_t UISimulator::cursorStackDepth() {
    return UiScript::shared().cursors.size();
}

// --- a user's input -------------------------------------------------------------------------

bool UISimulator::click(Button& button) {
    if (button.isHiddenOrHasHiddenAncestor()) return false;
    // The action runs with the click's mouse-up, at the button's centre in its window's space, as
    // the current event.
    Point at{button.frame().midX(), button.frame().midY()};
    for (View* v = button.superview(); v; v = v->superview())
        at = {at.x + v->frame().origin.x, at.y + v->frame().origin.y};
    Window* window = button.window();
    // The click's mouse-down activates the program and makes the window key, as a pointer's does.
    if (window) ClickActivation::windowTakesClick(*window);
    EventQueue::CurrentEventScope scope(NSEvent::mouseEvent(EventType::leftMouseUp, at,
                                                            NSEvent::currentModifierFlags(), runtime::now(),
                                                            window ? window->windowNumber() : 0, 1));
    return button.performClick();
}

bool UISimulator::clickView(View& view) {
    Window* window = view.window();
    if (!window || view.isHiddenOrHasHiddenAncestor()) return false;
    auto* button = dynamic_cast<Button*>(&view);
    auto* field = dynamic_cast<TextField*>(&view);
    if (button ? dynamic_cast<PopUpButton*>(button) != nullptr : !(field && field->acceptsFirstResponder()))
        return false;
    // A field takes the click as the first responder of its window, made key in front; in a
    // window that cannot become key it takes the pointer's events as they come.
    if (field && click(*field)) return true;
    auto keep = view.shared_from_this();
    ClickActivation::windowTakesClick(*window);
    const Point at = view.convertPointToWindow({view.frame().width() / 2, view.frame().height() / 2});
    for (const EventType type : {EventType::leftMouseDown, EventType::leftMouseUp}) {
        const NSEvent event = NSEvent::mouseEvent(type, at, NSEvent::currentModifierFlags(), runtime::now(),
                                                  window->windowNumber(), 1);
        EventQueue::CurrentEventScope scope(event);
        if (type == EventType::leftMouseDown) {
            view.mouseDown(event);
        } else {
            view.mouseUp(event);
        }
    }
    return true;
}

bool UISimulator::click(TextField& field) {
    if (field.isHiddenOrHasHiddenAncestor() || !field.acceptsFirstResponder()) return false;
    Window* window = field.window();
    if (!window || !window->isVisible() || !window->canBecomeKeyWindow()) return false;
    // A click on a window of an application in the background brings the application to the
    // front (the desktop is asked every time: another application may have come forward).
    ClickActivation::windowTakesClick(*window);
    if (!window->isKeyWindow()) return false;
    if (window->firstResponder() == &field && field.isEditing()) return true;
    return window->makeFirstResponder(&field);
}

void UISimulator::typeText(TextField& field, const std::string& text) {
    field.userInsertText(text);
}
void UISimulator::replaceText(TextField& field, const std::string& text) {
    field.userReplaceText(text);
}
void UISimulator::pressReturn(TextField& field) {
    field.userPressReturn();
}

void UISimulator::endEditing(TextField& field) {
    if (auto* w = field.window(); w && w->firstResponder() == &field)
        w->makeFirstResponder(nullptr);
    else
        field.endEditing(TextMovement::other);
}

void UISimulator::clickCancelButton(SearchField& field) {
    if (field.showsCancelButton()) field.cancelButtonCell->performClick(&field);
}

bool UISimulator::pickPopUpItem(PopUpButton& popUp, long index) {
    if (!popUp.isEnabled || index < 0 || index >= popUp.numberOfItems()) return false;
    popUp.selectItemAt(index);
    return popUp.sendAction();
}

void UISimulator::dragSlider(Slider& slider, const std::vector<double>& values) {
    if (!slider.isEnabled || values.empty()) return;
    // The knob moves as under the pointer, value by value, and is let go at the last.
    for (const double v : values)
        slider.moveKnob(v);
    slider.endKnobDrag();
}

} // namespace platform::ui
