#include "platform/ui/Responder.hpp"

namespace platform::ui {

bool Responder::perform(const Selector& selector, Responder* sender) {
    auto it = actions_.find(selector);
    if (it == actions_.end()) return false;
    auto action = it->second; // the method may replace itself while it runs
    if (action) action(sender);
    return true;
}

void Responder::keyDown(const NSEvent& event) {
    if (Responder* next = nextResponder()) next->keyDown(event);
}

void Responder::insertText(const std::string& text) {
    if (Responder* next = nextResponder()) next->insertText(text);
}

} // namespace platform::ui
