#pragma once

#include "model/ToastPanel.hpp"

#include "platform/ui/Panel.hpp"
#include "platform/ui/declarative/HostingView.hpp"

#include <memory>

namespace tilmora {

/// The toast panel over the UI toolkit: a borderless non-activating `platform::ui::Panel` made as
/// the `ToastPanelSpec` says, whose content view controller is a hosting controller of the toast's
/// `NotificationView`, and whose fade runs as an animation group on the virtual clock. It never
/// becomes key and never activates the application. Main thread.
class SystemToastPanel final : public ToastPanel {
public:
    explicit SystemToastPanel(const ToastPanelSpec& spec);

    void setContent(const NotificationView& view) override;
    void setAlpha(double alpha) override;
    void fadeAlpha(double alpha, double seconds, std::function<void()> completion) override;
    void orderFrontRegardless() override;
    void orderOut() override;

    /// The toolkit's panel (frame in global coordinates, points, y up).
    const std::shared_ptr<platform::ui::Panel>& panel() const { return panel_; }

private:
    std::shared_ptr<platform::ui::Panel> panel_;
};

} // namespace tilmora
