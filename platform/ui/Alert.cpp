#include "platform/ui/Alert.hpp"

#include "platform/dispatch/MainThread.hpp"

#include "platform/ui/Application.hpp"
#include "platform/ui/Runtime.hpp"
#include "platform/ui/StackView.hpp"
#include "platform/ui/TextField.hpp"
#include "platform/internal/UiScript.hpp"

namespace platform::ui {

Alert::Alert() = default;

std::shared_ptr<Button> Alert::addButton(const std::string& title) {
    auto b = Button::withTitle(title, nullptr, "");
    b->tag = ModalResponse::alertFirstButtonReturn + static_cast<long>(buttons_.size());
    if (buttons_.empty())
        b->keyEquivalent = KeyEquivalent::returnKey;
    else if (title == "Cancel")
        b->keyEquivalent = KeyEquivalent::escape;
    buttons_.push_back(b);
    // A click on the button ends the alert with its response.
    long tag = b->tag;
    b->registerAction("alertButtonPressed:", [this, tag](Responder*) {
        response_ = tag;
        if (Application::shared().modalWindow() == window_.get()) Application::shared().stopModal(tag);
    });
    b->action = "alertButtonPressed:";
    b->target = b;
    return b;
}

const std::shared_ptr<Panel>& Alert::window() {
    if (!window_) {
        window_ = std::make_shared<Panel>(Rect{0, 0, 420, 150}, StyleMask::titled);
        window_->setLevel(WindowLevel::modalPanel);
    }
    return window_;
}

void Alert::prepare() {
    if (buttons_.empty()) addButton("OK");
    auto& w = window();
    auto content = std::make_shared<StackView>();
    content->orientation = UserInterfaceOrientation::vertical;
    content->alignment = LayoutAttribute::leading;
    content->addArrangedSubview(TextField::wrappingLabelWithString(messageText));
    if (!informativeText.empty())
        content->addArrangedSubview(TextField::wrappingLabelWithString(informativeText));
    if (accessoryView) content->addArrangedSubview(accessoryView);
    auto row = std::make_shared<StackView>();
    for (auto it = buttons_.rbegin(); it != buttons_.rend(); ++it)
        row->addArrangedSubview(*it);
    content->addArrangedSubview(row);
    w->setContentView(content);
    response_.reset();
}

long Alert::runModal() {
    requireMainThread("Alert::runModal");
    auto keep = shared_from_this();
    prepare();
    UiScript::shared().alertShown(*this, false);
    window_->center();
    long code = Application::shared().runModal(*window_);
    window_->orderOut();
    UiScript::shared().alertAnswered(*this, code);
    return code;
}

void Alert::beginSheetModal(Window& parent, std::function<void(long)> completion) {
    requireMainThread("Alert::beginSheetModal");
    auto self = std::static_pointer_cast<Alert>(shared_from_this());
    prepare();
    UiScript::shared().alertShown(*this, true);
    parent.sheet_ = window_;
    window_->orderFront();
    sheet_ = Sheet{parent.weak_from_this(), &parent, std::move(completion)};
    runtime::mainAsync([self] { self->answerSheet(); });
}

void Alert::answerSheet() {
    if (!sheet_) return;
    auto self = shared_from_this();
    Sheet sheet = std::move(*sheet_);
    sheet_.reset();
    long code = UiScript::shared().answerAlert(*this);
    window_->orderOut();
    if (auto p = sheet.parent.lock()) sheet.parentWindow->sheet_.reset();
    UiScript::shared().alertAnswered(*this, code);
    if (sheet.completion) sheet.completion(code);
}

} // namespace platform::ui
