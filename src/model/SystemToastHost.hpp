#pragma once

#include "model/ToastPanel.hpp"

#include <functional>
#include <memory>
#include <optional>

namespace tilmora {

/// The toast host in force unless another is installed: makes a `SystemToastPanel`, and asks
/// `mainWindow` (the shell's lookup, given when the shell builds its host at start-up) for the
/// main window. Without a lookup there is no main window and toasts sit against the main screen.
/// Main thread.
class SystemToastHost final : public ToastHost {
public:
    using MainWindowLookup = std::function<std::optional<MainWindow>()>;

    explicit SystemToastHost(MainWindowLookup mainWindow = {})
        : mainWindow_(std::move(mainWindow)) {}

    std::shared_ptr<ToastPanel> makePanel(const ToastPanelSpec& spec) override;
    std::optional<MainWindow> mainWindow() const override;

private:
    MainWindowLookup mainWindow_;
};

} // namespace tilmora
