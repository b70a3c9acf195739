#include "platform/control/UISimulator.hpp"

#include "platform/desktop/NSScreen.hpp"
#include "platform/input/EventQueue.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/Beep.hpp"
#include "platform/ui/Cursor.hpp"
#include "platform/ui/Image.hpp"
#include "platform/ui/PopUpButton.hpp"
#include "platform/ui/Runtime.hpp"
#include "platform/ui/SearchField.hpp"
#include "platform/ui/Slider.hpp"
#include "platform/ui/StatusItem.hpp"

#include <algorithm>
#include <deque>

namespace platform::ui {

namespace {
struct State {
    std::deque<AlertResponse> alertScript;
    std::function<AlertResponse(const Alert&)> alertResponder;
    std::vector<AlertRecord> alertLog;
    std::vector<const Alert*> liveAlerts;
    std::deque<MenuPick> menuScript;
    std::function<MenuPick(Menu&)> menuPicker;
    std::vector<MenuRecord> menuLog;
    int beeps = 0;
    std::vector<std::string> cursors;
};
State& state() {
    static State s;
    return s;
}

TextField* firstTextField(View* v) {
    if (!v) return nullptr;
    if (auto* f = dynamic_cast<TextField*>(v); f && f->isEditable) return f;
    for (auto& sub : v->subviews())
        if (auto* f = firstTextField(sub.get())) return f;
    return nullptr;
}
} // namespace

void UISimulator::reset() {
    state() = State{};
    Application::resetShared();
    StatusBar::resetShared();
    Image::resetResourceDirectory();
}

// --- alerts ---------------------------------------------------------------------------------

void UISimulator::scriptAlertResponse(AlertResponse response) {
    state().alertScript.push_back(std::move(response));
}

void UISimulator::setAlertResponder(std::function<AlertResponse(const Alert&)> responder) {
    state().alertResponder = std::move(responder);
}

const std::vector<AlertRecord>& UISimulator::alertLog() {
    return state().alertLog;
}

void UISimulator::alertShown(const Alert& alert, bool asSheet) {
    AlertRecord r;
    r.messageText = alert.messageText;
    r.informativeText = alert.informativeText;
    r.style = alert.alertStyle;
    for (auto& b : alert.buttons())
        r.buttonTitles.push_back(b->title);
    r.asSheet = asSheet;
    state().alertLog.push_back(std::move(r));
    state().liveAlerts.push_back(&alert);
}

void UISimulator::alertAnswered(const Alert& alert, long response) {
    auto& live = state().liveAlerts;
    live.erase(std::remove(live.begin(), live.end(), &alert), live.end());
    for (auto it = state().alertLog.rbegin(); it != state().alertLog.rend(); ++it)
        if (it->messageText == alert.messageText && !it->response) {
            it->response = response;
            break;
        }
}

long UISimulator::answerAlert(Alert& alert) {
    auto& s = state();
    AlertResponse response;
    bool scripted = true;
    if (!s.alertScript.empty()) {
        response = s.alertScript.front();
        s.alertScript.pop_front();
    } else if (s.alertResponder) {
        response = s.alertResponder(alert);
    } else {
        scripted = false; // nobody scripted it: the user presses the default button
    }
    AlertRecord* record = nullptr;
    for (auto it = s.alertLog.rbegin(); it != s.alertLog.rend(); ++it)
        if (it->messageText == alert.messageText && !it->response) {
            record = &*it;
            break;
        }
    if (record) record->scripted = scripted;
    if (response.accessoryText) {
        if (auto* field = firstTextField(alert.accessoryView.get())) {
            replaceText(*field, *response.accessoryText);
            if (record) record->accessoryText = *response.accessoryText;
        }
    }
    if (response.kind == AlertResponse::Kind::close) return ModalResponse::abort;
    const auto& buttons = alert.buttons();
    std::shared_ptr<Button> button;
    if (response.buttonTitle) {
        for (auto& b : buttons)
            if (b->title == *response.buttonTitle) button = b;
    } else if (response.buttonIndex >= 0 && size_t(response.buttonIndex) < buttons.size()) {
        button = buttons[size_t(response.buttonIndex)];
    }
    if (!button) return ModalResponse::abort;
    button->performClick();
    return button->tag;
}

void UISimulator::answerModal(Window& window) {
    for (auto* alert : std::vector<const Alert*>(state().liveAlerts)) {
        if (alert->window_.get() != &window) continue;
        long code = answerAlert(const_cast<Alert&>(*alert));
        Application::shared().stopModal(code); // no effect when the button already ended the session
        return;
    }
    // A modal window nobody will answer: end the session instead of hanging.
    Application::shared().abortModal();
}

// --- menus ----------------------------------------------------------------------------------

void UISimulator::scriptMenuPick(MenuPick pick) {
    state().menuScript.push_back(std::move(pick));
}

void UISimulator::setMenuPicker(std::function<MenuPick(Menu&)> picker) {
    state().menuPicker = std::move(picker);
}

const std::vector<MenuRecord>& UISimulator::menuLog() {
    return state().menuLog;
}

MenuPick UISimulator::nextMenuPick(Menu& menu) {
    auto& s = state();
    if (!s.menuScript.empty()) {
        auto pick = std::move(s.menuScript.front());
        s.menuScript.pop_front();
        return pick;
    }
    if (s.menuPicker) return s.menuPicker(menu);
    return MenuPick{{}, 0, nullptr};
}

void UISimulator::menuTracked(MenuRecord record) {
    state().menuLog.push_back(std::move(record));
}

// --- status bar -------------------------------------------------------------------------------

void UISimulator::setStatusBarThickness(double points) {
    StatusBar::system().thickness_ = points;
}

bool UISimulator::clickStatusItem(StatusItem& item, size_t screenIndex) {
    auto screens = NSScreen::screens();
    if (screenIndex < screens.size()) {
        Rect f = screens[screenIndex].frame();
        double t = StatusBar::system().thickness();
        item.buttonWindow()->setFrame({f.maxX() - 200, f.maxY() - t, 24, t}, false);
    }
    return click(*item.button());
}

// --- counters -------------------------------------------------------------------------------

void UISimulator::countBeep() {
    ++state().beeps;
}
int UISimulator::beepCount() {
    return state().beeps;
}
std::vector<std::string>& UISimulator::cursorStack() {
    return state().cursors;
}
size_t UISimulator::cursorStackDepth() {
    return state().cursors.size();
}

void beep() {
    UISimulator::countBeep();
}

void Cursor::push() const {
    UISimulator::cursorStack().push_back(name_);
}

void Cursor::pop() {
    auto& s = UISimulator::cursorStack();
    if (!s.empty()) s.pop_back();
}

std::string Cursor::current() {
    auto& s = UISimulator::cursorStack();
    return s.empty() ? "arrow" : s.back();
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
    EventQueue::CurrentEventScope scope(NSEvent::mouseEvent(EventType::leftMouseUp, at,
                                                            NSEvent::currentModifierFlags(), runtime::now(),
                                                            window ? window->windowNumber() : 0, 1));
    return button.performClick();
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
    for (size_t i = 0; i < values.size(); ++i) {
        double v = slider.allowsTickMarkValuesOnly ? slider.closestTickMarkValue(values[i]) : values[i];
        slider.setDoubleValue(v);
        if (slider.isContinuous || i + 1 == values.size()) slider.sendAction();
    }
}

} // namespace platform::ui
