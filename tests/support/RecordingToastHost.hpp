#pragma once

#include "model/ToastPanel.hpp"
#include "platform/control/SimScheduler.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace testsupport {

/// A toast panel that records the toasts it shows and when its fades start; fades complete at once.
class RecordingToastPanel : public tilmora::ToastPanel {
public:
    void setContent(const tilmora::NotificationView& view) override { contents.push_back(view); }
    void setAlpha(double) override {}
    void fadeAlpha(double alpha, double, std::function<void()> completion) override {
        const double now = platform::SimScheduler::shared().now();
        fadeStartedAt.push_back(now);
        if (alpha == 0.0) fadeOutStartedAt.push_back(now);
        completion();
    }
    void orderFrontRegardless() override {}
    void orderOut() override { ++orderedOut; }

    std::vector<tilmora::NotificationView> contents; ///< every toast shown, oldest first
    std::vector<double> fadeStartedAt;               ///< virtual time of every fade
    std::vector<double> fadeOutStartedAt;            ///< virtual time of every fade to transparent
    int orderedOut = 0;
};

/// A toast host whose one panel records (install it with `NotificationManager::installHost`); the
/// shell has no main window.
class RecordingToastHost : public tilmora::ToastHost {
public:
    std::shared_ptr<tilmora::ToastPanel> makePanel(const tilmora::ToastPanelSpec&) override { return panel; }
    std::optional<MainWindow> mainWindow() const override { return std::nullopt; }

    std::shared_ptr<RecordingToastPanel> panel = std::make_shared<RecordingToastPanel>();
};

} // namespace testsupport
