#include "platform/ui/Responder.hpp"

namespace platform::ui {

bool Responder::perform(const Selector& selector, Responder* sender) {
    if (auto it = actions_.find(selector); it != actions_.end()) {
        auto action = it->second; // the method may replace itself while it runs
        if (action) action(sender);
        return true;
    }
    return performWithObject(selector, {}).has_value();
}

std::optional<std::any> Responder::performWithObject(const Selector& selector, const std::any& object) {
    if (auto it = methods_.find(selector); it != methods_.end()) {
        auto method = it->second; // the method may replace itself while it runs
        return method ? method(object) : std::any{};
    }
    if (auto it = actions_.find(selector); it != actions_.end()) {
        auto action = it->second;
        if (action) action(nullptr);
        return std::any{};
    }
    return std::nullopt;
}

void Responder::keyDown(const NSEvent& event) {
    if (Responder* next = nextResponder()) next->keyDown(event);
}

void Responder::insertText(const std::string& text) {
    if (Responder* next = nextResponder()) next->insertText(text);
}

} // namespace platform::ui
