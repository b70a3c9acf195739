// The toast manager with its default host on the simulated desktop: a real panel of the UI
// toolkit, read back through the toolkit's application, window and test driver.

#include "model/NotificationManager.hpp"
#include "model/SystemToastHost.hpp"

#include "platform/control/SharedInstances.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/Panel.hpp"
#include "platform/control/ViewDriver.hpp"

#include "support/DesktopTest.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace tilmora;
namespace ui = platform::ui;
namespace dv = platform::ui::declarative;

namespace {

class ToastPanelTest : public DesktopTest {
protected:
    void restoreFixture() override {
        DesktopTest::restoreFixture();
        desk().useLaptop();
    }

    /// Lets virtual time run until `t` (seconds on the virtual clock).
    void runUntil(double t) { sim().runFor(t - sim().now()); }

    /// The program's visible windows, front first.
    static std::vector<std::shared_ptr<ui::Window>> visibleWindows() {
        return ui::Application::shared().orderedWindows();
    }

    /// The texts of the one visible toast; empty when none is visible.
    static std::vector<std::string> shownTexts() {
        auto windows = visibleWindows();
        if (windows.size() != 1) return {};
        auto hosting =
            std::dynamic_pointer_cast<dv::HostingController>(windows.front()->contentViewController());
        if (!hosting) return {};
        return dv::ViewDriver(hosting->hostingView()).texts();
    }
};

} // namespace

TEST_F(ToastPanelTest, AToastIsARealFloatingPanelNearTheTopRightOfTheLaptopScreen) {
    NotificationManager::shared().show("Snapshot", "Saved 3 windows", 3.0);

    auto windows = visibleWindows();
    ASSERT_EQ(windows.size(), 1u);
    auto panel = std::dynamic_pointer_cast<ui::Panel>(windows.front());
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->frame(), (ui::Rect{1020, 755, 400, 100}));
    EXPECT_EQ(panel->styleMask(), ui::StyleMask::nonactivatingPanel);
    EXPECT_EQ(panel->level(), ui::WindowLevel::floating);
    EXPECT_EQ(panel->collectionBehavior, 337u);
    EXPECT_FALSE(panel->isOpaque);
    EXPECT_TRUE(panel->backgroundColor.isClear());
    EXPECT_FALSE(panel->hidesOnDeactivate);
    EXPECT_FALSE(panel->isMovableByWindowBackground);
    EXPECT_EQ(panel->alphaValue(), 1.0);
    EXPECT_FALSE(panel->isKeyWindow());
    EXPECT_FALSE(ui::Application::shared().isActive());
    EXPECT_EQ(shownTexts(), (std::vector<std::string>{"Snapshot", "Saved 3 windows"}));

    auto hosting = std::dynamic_pointer_cast<dv::HostingController>(panel->contentViewController());
    dv::ViewDriver driver(hosting->hostingView());
    EXPECT_EQ(driver.find("Snapshot")->style.fontRole, "headline");
    EXPECT_EQ(driver.find("Saved 3 windows")->style.color, ui::Color::whiteColor().withAlphaComponent(0.9));
    // The rounded background behind the texts carries the whole shadow: colour, radius, offset.
    std::vector<dv::ShadowStyle> shadows;
    std::function<void(const dv::Element&)> collect = [&](const dv::Element& e) {
        if (e.node()->shadow) shadows.push_back(*e.node()->shadow);
        for (const auto* list : {&e.node()->backgrounds, &e.node()->children, &e.node()->overlays})
            for (const auto& c : *list)
                collect(c);
    };
    collect(hosting->hostingView().tree());
    EXPECT_EQ(shadows,
              (std::vector<dv::ShadowStyle>{{ui::Color::blackColor().withAlphaComponent(0.5), 20, 0, 10}}));

    runUntil(3.19); // fading since 3.0
    EXPECT_TRUE(panel->isVisible());
    runUntil(3.21);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(panel->alphaValue(), 0.0);
    EXPECT_TRUE(visibleWindows().empty());
}

TEST_F(ToastPanelTest, TheFirstToastIsPlacedAgainstTheShellsMainWindowWhenItIsVisible) {
    struct Case {
        const char* name;
        std::optional<ToastHost::MainWindow> mainWindow;
        ui::Rect expected;
    };
    const Case cases[] = {
        {"no main window", std::nullopt, {1020, 755, 400, 100}},
        {"visible main window", ToastHost::MainWindow{true, {100, 100, 900, 600}}, {580, 580, 400, 100}},
        {"hidden main window", ToastHost::MainWindow{false, {100, 100, 900, 600}}, {1020, 755, 400, 100}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetSharedInstances();
        auto window = c.mainWindow;
        NotificationManager::installHost(std::make_shared<SystemToastHost>([window] { return window; }));
        NotificationManager::shared().show("Snap Area", "Applied", 1.0);
        auto windows = visibleWindows();
        ASSERT_EQ(windows.size(), 1u);
        EXPECT_EQ(windows.front()->frame(), c.expected);
        windows.clear();
        resetSharedInstances(); // drops the panel
        EXPECT_TRUE(visibleWindows().empty());
    }
}

TEST_F(ToastPanelTest, EachToastStaysForItsOwnDurationWhateverTheOneBeforeItDid) {
    struct Toast {
        double at;
        const char* title;
        double duration;
    };
    struct Check {
        double at;
        std::optional<std::string> shownTitle; // none: no toast visible
    };
    struct Case {
        const char* name;
        std::vector<Toast> toasts;
        std::vector<Check> checks;
    };
    const Case cases[] = {
        {"second toast during the fade",
         {{0, "First", 1}, {1.1, "Second", 2}},
         {{1.25, "Second"}, {3.05, "Second"}, {3.29, "Second"}, {3.31, std::nullopt}}},
        {"second toast while the first is up",
         {{0, "Launching Snapshot", 999}, {5, "Snapshot Restore", 3}},
         {{7.9, "Snapshot Restore"}, {8.19, "Snapshot Restore"}, {8.21, std::nullopt}, {1000, std::nullopt}}},
        {"second toast after the first is gone",
         {{0, "First", 1}, {2, "Second", 1}},
         {{1.5, std::nullopt}, {2.5, "Second"}, {3.21, std::nullopt}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetSharedInstances();
        const double base = sim().now(); // the times of the case count from here
        size_t next = 0;
        for (const auto& check : c.checks) {
            while (next < c.toasts.size() && c.toasts[next].at <= check.at) {
                runUntil(base + c.toasts[next].at);
                NotificationManager::shared().show(c.toasts[next].title, "message", c.toasts[next].duration);
                ++next;
            }
            runUntil(base + check.at);
            SCOPED_TRACE(check.at);
            auto windows = visibleWindows();
            if (!check.shownTitle) {
                EXPECT_TRUE(windows.empty());
                continue;
            }
            ASSERT_EQ(windows.size(), 1u);
            EXPECT_EQ(windows.front()->alphaValue(), 1.0);
            EXPECT_EQ(shownTexts(), (std::vector<std::string>{*check.shownTitle, "message"}));
        }
    }
}
