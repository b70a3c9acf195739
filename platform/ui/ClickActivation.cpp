#include "platform/ui/ClickActivation.hpp"

#include "platform/dispatch/MainThread.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/Window.hpp"

namespace platform::ui {

void ClickActivation::windowTakesClick(Window& window) {
    requireMainThread("ClickActivation::windowTakesClick");
    if (!window.isVisible() || window.isClosed()) return;
    if ((window.styleMask() & StyleMask::nonactivatingPanel) != 0) return;
    const auto keep = window.weak_from_this().lock();
    Application::shared().activate(true);
    // The window comes in front of the others even when the activation gave it the keys back.
    if (window.canBecomeKeyWindow()) window.makeKeyAndOrderFront();
}

} // namespace platform::ui
