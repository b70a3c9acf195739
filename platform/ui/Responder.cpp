#include "platform/ui/Responder.hpp"

namespace platform::ui {

bool Responder::perform(const Selector& selector, Responder* sender) {
    auto it = actions_.find(selector);
    if (it == actions_.end()) return false;
    auto action = it->second; // the method may replace itself while it runs
    if (action) action(sender);
    return true;
}

} // namespace platform::ui
