#pragma once

#include "snapshots/PersistenceController.hpp"
#include "snapshots/SnapshotSave.hpp"
#include "snapshots/WindowCapture.hpp"

#include "model/NotificationManager.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "support/RecordingToastHost.hpp"
#include "windows/WindowAccessTest.hpp"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using testsupport::RecordingToastHost;

/// A desktop with one built-in display 1: frame (0, 0, 1440, 900), visible frame (0, 25, 1440,
/// 875), vendor 1552, model 41040, serial 0, 1512 x 982 pixels (fingerprint 0xD1BADF2A); an
/// in-memory snapshot store; toasts recorded.
class CaptureTest : public WindowAccessTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        desk().addDisplay(laptopDisplay());
        tilmora::NotificationManager::installHost(toasts);
        store = std::make_unique<tilmora::PersistenceController>(true);
    }

    static platform::DisplaySpec laptopDisplay() {
        auto d = testsupport::displaySpec(1, "Built-in Retina Display", {0, 0, 1440, 900});
        d.visibleFrame = platform::CGRect{0, 25, 1440, 875};
        return testsupport::asLaptopPanel(d);
    }

    /// A window given by its Accessibility (top-left) position and size on display 1.
    static platform::WindowSpec axWindow(const std::string& title, double x, double y, double w, double h) {
        return window(title, {x, 900 - y - h, w, h});
    }

    struct Outcome {
        bool success = false;
        std::string message;
        int calls = 0;
        std::size_t toastsAtCompletion = 0;
    };

    Outcome save(const std::string& name) {
        Outcome out;
        tilmora::WindowManager::saveSnapshot(name, context(), [&](bool ok, const std::string& message) {
            out.success = ok;
            out.message = message;
            ++out.calls;
            out.toastsAtCompletion = toasts->panel->contents.size();
        });
        return out;
    }

    tilmora::SnapshotContext& context() { return store->viewContext(); }

    /// The summary line of the capture, or "" when none was written.
    static std::string summaryLine() {
        for (const auto& line : logLines())
            if (line.find("captureCurrentWindows(") != std::string::npos) return line;
        return "";
    }

    static std::vector<std::string> titles(const std::vector<tilmora::WindowManager::WindowDetail>& details) {
        std::vector<std::string> result;
        for (const auto& d : details)
            result.push_back(d.windowTitle);
        return result;
    }

    std::shared_ptr<RecordingToastHost> toasts = std::make_shared<RecordingToastHost>();
    std::unique_ptr<tilmora::PersistenceController> store;
};
