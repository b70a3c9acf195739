#include "console/ScriptedAnswers.hpp"

#include "console/ConsoleText.hpp"
#include "platform/control/UISimulator.hpp"
#include "platform/ui/Alert.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/Button.hpp"
#include "platform/ui/PopUpButton.hpp"
#include "platform/ui/TextField.hpp"
#include "platform/ui/View.hpp"
#include "platform/ui/Window.hpp"

#include <algorithm>
#include <functional>

namespace tilmora {

namespace {

using platform::ui::AlertResponse;
using platform::ui::Button;
using platform::ui::PopUpButton;
using platform::ui::UISimulator;
using platform::ui::View;
using platform::ui::Window;

/// Every view under `view`, depth first in subview order.
void eachView(View* view, const std::function<void(View&)>& visit) {
    if (!view) return;
    visit(*view);
    for (const auto& sub : std::vector(view->subviews()))
        eachView(sub.get(), visit);
}

/// The window's buttons (pop-up buttons left out), depth first.
std::vector<Button*> buttonsOf(Window& window) {
    std::vector<Button*> out;
    eachView(window.contentView().get(), [&](View& v) {
        auto* button = dynamic_cast<Button*>(&v);
        if (button && !dynamic_cast<PopUpButton*>(button)) out.push_back(button);
    });
    return out;
}

/// The first editable text field under `view`, if any.
platform::ui::TextField* editableField(View* view) {
    platform::ui::TextField* found = nullptr;
    eachView(view, [&](View& v) {
        auto* field = dynamic_cast<platform::ui::TextField*>(&v);
        if (!found && field && field->isEditable) found = field;
    });
    return found;
}

/// The titles quoted and joined: "\"OK\", \"Cancel\"".
std::string quotedList(const std::vector<std::string>& titles) {
    std::string out;
    for (const auto& title : titles)
        out += (out.empty() ? "" : ", ") + ConsoleText::quote(title);
    return out.empty() ? "none" : out;
}

} // namespace

ScriptedAnswers::~ScriptedAnswers() = default;

void ScriptedAnswers::install() {
    installed_ = true;
    UISimulator::setAlertResponder(
        [](const platform::ui::Alert& alert) { return ScriptedAnswers::shared().answerAlert(alert); });
    UISimulator::setModalResponder([](Window& window) { ScriptedAnswers::shared().answerWindow(window); });
}

void ScriptedAnswers::misfit(const Answer& answer, const std::string& prompt, const std::string& why) {
    problems_.push_back("the answer on line " + std::to_string(answer.line) + ", " + answer.command +
                        ", does not fit " + prompt + ": " + why);
}

AlertResponse ScriptedAnswers::answerAlert(const platform::ui::Alert& alert) {
    if (queue_.empty()) return AlertResponse::press(0);
    Answer answer = std::move(queue_.front());
    queue_.pop_front();
    std::vector<std::string> titles;
    for (const auto& button : alert.buttons())
        titles.push_back(button->title);
    const std::string prompt = "the alert " + ConsoleText::quote(alert.messageText);
    std::string why;
    if (answer.pick) why = "an alert has no items to pick";
    else if (answer.choose) why = "an alert has no buttons to choose besides its answer";
    else if (answer.typed && !editableField(alert.accessoryView.get())) why = "the alert has no text field";
    else if (answer.buttonTitle && std::find(titles.begin(), titles.end(), *answer.buttonTitle) == titles.end())
        why = "no button " + ConsoleText::quote(*answer.buttonTitle) + " (buttons: " + quotedList(titles) + ")";
    else if (answer.buttonNumber && (*answer.buttonNumber < 1 || *answer.buttonNumber > static_cast<long>(titles.size())))
        why = "it has " + std::to_string(titles.size()) + (titles.size() == 1 ? " button: " : " buttons: ") +
              quotedList(titles);
    if (!why.empty()) {
        // As if no answer had come: the first button.
        misfit(answer, prompt, why);
        return AlertResponse::press(0);
    }
    if (answer.buttonTitle) return AlertResponse::pressTitled(*answer.buttonTitle, answer.typed);
    return AlertResponse::press(answer.buttonNumber.value_or(1) - 1, answer.typed);
}

void ScriptedAnswers::uninstall() {
    if (!installed_) return;
    installed_ = false;
    UISimulator::setAlertResponder(nullptr);
    UISimulator::setModalResponder(nullptr);
}

void ScriptedAnswers::answerWindow(Window& window) {
    auto& application = platform::ui::Application::shared();
    // A later turn of a session already answered: the answer did not end it, so it is cancelled.
    const std::shared_ptr<const void> self = window.weak_from_this().lock();
    if (self && current_.lock() == self) {
        current_.reset();
        application.abortModal();
        return;
    }
    current_ = self;
    ModalWindowRecord record;
    record.title = window.title;
    const auto buttons = buttonsOf(window);
    for (auto* button : buttons)
        record.buttons.push_back(button->title);
    auto* popUp = UISimulator::findPopUpButton(window);
    if (popUp) record.items = popUp->itemTitles();
    if (modalWindows_.size() >= maxRecords) {
        modalWindows_.erase(modalWindows_.begin());
        if (modalWindowsShown > 0) --modalWindowsShown;
    }
    if (queue_.empty()) {
        modalWindows_.push_back(std::move(record));
        application.abortModal();
        return;
    }
    Answer answer = std::move(queue_.front());
    queue_.pop_front();
    // Everything the answer needs is found before anything is clicked, so that the journal entry
    // is complete before the window's actions run.
    platform::ui::TextField* field = nullptr;
    long item = -1;
    Button* choose = nullptr;
    Button* press = nullptr;
    if (answer.typed && !(field = editableField(window.contentView().get()))) record.problem = "no text field";
    if (record.problem.empty() && answer.pick) {
        for (std::size_t i = 0; i < record.items.size() && item < 0; ++i)
            if (record.items[i] == *answer.pick) item = static_cast<long>(i);
        for (std::size_t i = 0; i < record.items.size() && item < 0; ++i)
            if (record.items[i].rfind(*answer.pick, 0) == 0) item = static_cast<long>(i);
        if (item < 0) record.problem = "no item \"" + *answer.pick + "\"";
    }
    if (record.problem.empty() && answer.choose && !(choose = UISimulator::findButton(window, *answer.choose)))
        record.problem = "no button \"" + *answer.choose + "\"";
    if (record.problem.empty()) {
        if (answer.buttonTitle) {
            press = UISimulator::findButton(window, *answer.buttonTitle);
            if (!press) record.problem = "no button \"" + *answer.buttonTitle + "\"";
        } else {
            const long number = answer.buttonNumber.value_or(1);
            if (number >= 1 && number <= static_cast<long>(buttons.size()))
                press = buttons[static_cast<std::size_t>(number - 1)];
            else
                record.problem = "no button " + std::to_string(number);
        }
    }
    if (press) record.answer = press->title;
    if (!record.problem.empty()) {
        std::string why = record.problem;
        if (why.starts_with("no item")) why += " (items: " + quotedList(record.items) + ")";
        if (why.starts_with("no button")) why += " (buttons: " + quotedList(record.buttons) + ")";
        misfit(answer, "the window " + ConsoleText::quote(record.title), why);
    }
    modalWindows_.push_back(std::move(record));
    if (!press) {
        application.abortModal();
        return;
    }
    if (field) UISimulator::replaceText(*field, *answer.typed);
    if (item >= 0) UISimulator::pickPopUpItem(*popUp, item);
    if (choose) UISimulator::click(*choose);
    UISimulator::click(*press);
}

} // namespace tilmora
