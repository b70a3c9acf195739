#include "platform/internal/UiScript.hpp"

#include "platform/ui/Application.hpp"
#include "platform/ui/Beep.hpp"
#include "platform/ui/Cursor.hpp"
#include "platform/ui/TextField.hpp"

#include <algorithm>

namespace platform::ui {

namespace {
TextField* firstTextField(View* v) {
    if (!v) return nullptr;
    if (auto* f = dynamic_cast<TextField*>(v); f && f->isEditable) return f;
    for (auto& sub : v->subviews())
        if (auto* f = firstTextField(sub.get())) return f;
    return nullptr;
}
} // namespace

void UiScript::alertShown(const Alert& alert, bool asSheet) {
    AlertRecord r;
    r.messageText = alert.messageText;
    r.informativeText = alert.informativeText;
    r.style = alert.alertStyle;
    for (auto& b : alert.buttons())
        r.buttonTitles.push_back(b->title);
    r.asSheet = asSheet;
    alertLog.push_back(std::move(r));
    liveAlerts.push_back(&alert);
}

void UiScript::alertAnswered(const Alert& alert, long response) {
    auto& live = liveAlerts;
    live.erase(std::remove(live.begin(), live.end(), &alert), live.end());
    for (auto it = alertLog.rbegin(); it != alertLog.rend(); ++it)
        if (it->messageText == alert.messageText && !it->response) {
            it->response = response;
            break;
        }
}

long UiScript::answerAlert(Alert& alert) {
    auto& s = *this;
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
            field->userReplaceText(*response.accessoryText);
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

void UiScript::answerModal(Window& window) {
    for (auto* alert : std::vector<const Alert*>(liveAlerts)) {
        if (alert->window_.get() != &window) continue;
        long code = answerAlert(const_cast<Alert&>(*alert));
        Application::shared().stopModal(code); // no effect when the button already ended the session
        return;
    }
    // A sheet on the modal window: the user answers it; its completion may end the session.
    for (auto* alert : std::vector<const Alert*>(liveAlerts)) {
        if (!alert->sheet_ || alert->sheet_->parentWindow != &window) continue;
        const_cast<Alert&>(*alert).answerSheet();
        return;
    }
    // Another modal window: the scripted user works its controls (and may end the session).
    if (!modalScript.empty()) {
        auto step = std::move(modalScript.front());
        modalScript.pop_front();
        if (step) step(window);
        return;
    }
    if (modalResponder) {
        auto responder = modalResponder; // the responder may replace itself
        responder(window);
        return;
    }
    // A modal window nobody will answer: end the session instead of hanging.
    Application::shared().abortModal();
}

MenuPick UiScript::nextMenuPick(Menu& menu) {
    auto& s = *this;
    if (!s.menuScript.empty()) {
        auto choose = std::move(s.menuScript.front());
        s.menuScript.pop_front();
        return choose(menu);
    }
    if (s.menuPicker) return s.menuPicker(menu);
    return MenuPick{{}, 0, nullptr};
}

void UiScript::menuTracked(MenuRecord record) {
    menuLog.push_back(std::move(record));
}

// --- beeps and cursors ------------------------------------------------------------------------

void beep() {
    ++UiScript::shared().beeps;
}

void Cursor::push() const {
    UiScript::shared().cursors.push_back(name_);
}

void Cursor::pop() {
    auto& s = UiScript::shared().cursors;
    if (!s.empty()) s.pop_back();
}

std::string Cursor::current() {
    auto& s = UiScript::shared().cursors;
    return s.empty() ? "arrow" : s.back();
}

} // namespace platform::ui
