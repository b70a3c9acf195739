#include "model/SystemToastHost.hpp"

#include "model/SystemToastPanel.hpp"

namespace tilmora {

std::shared_ptr<ToastPanel> SystemToastHost::makePanel(const ToastPanelSpec& spec) {
    return std::make_shared<SystemToastPanel>(spec);
}

std::optional<ToastHost::MainWindow> SystemToastHost::mainWindow() const {
    if (!mainWindow_) return std::nullopt;
    return mainWindow_();
}

} // namespace tilmora
