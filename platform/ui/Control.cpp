#include "platform/ui/Control.hpp"

#include "platform/dispatch/MainThread.hpp"

#include "platform/ui/Application.hpp"

namespace platform::ui {

bool Control::sendAction() {
    requireMainThread("Control::sendAction");
    if (!isEnabled || action.empty()) return false;
    auto t = target.lock();
    return Application::shared().sendAction(action, t.get(), this);
}

} // namespace platform::ui
