#include "ShellFixture.hpp"

#include "model/Settings.hpp"

#include "platform/control/SimInput.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/ui/Image.hpp"
#include "platform/ui/Menu.hpp"
#include "snapping/SnapBarController.hpp"

#include <gtest/gtest.h>

namespace tilmora {
namespace {

class ShellStartUpTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        desk().useLaptopWithExternal();
        desk().setAccessibilityTrusted(true);
        makeShell().registerAppDefaults();
    }
    /// The snap bar's panel, when the shell has one.
    std::shared_ptr<platform::ui::Panel> bar() {
        return shell().snapBarController() ? shell().snapBarController()->window() : nullptr;
    }
    bool barShown() { return bar() && bar()->isVisible() && bar()->alphaValue() > 0; }
    /// The display (by its position in the screen list) whose frame holds the bar's centre.
    long barDisplay() {
        const auto frame = bar()->frame();
        const platform::CGPoint centre{frame.origin.x + frame.size.width / 2,
                                       frame.origin.y + frame.size.height / 2};
        const auto screens = platform::NSScreen::screens();
        for (std::size_t i = 0; i < screens.size(); ++i) {
            const auto s = screens[i].frame();
            if (centre.x >= s.origin.x && centre.x < s.origin.x + s.size.width && centre.y >= s.origin.y &&
                centre.y < s.origin.y + s.size.height) {
                return static_cast<long>(i);
            }
        }
        return -1;
    }
};

TEST_F(ShellStartUpTest, StatusButtonShowsTheSnapImage) {
    shell().continueInitialization();
    ASSERT_TRUE(shell().statusItem());
    const auto image = shell().statusItem()->button()->image;
    ASSERT_TRUE(image) << "the program's resources hold the status image";
    EXPECT_EQ(image->name(), "Snap.png");
    EXPECT_EQ(image->size(), (platform::ui::Size{18, 18}));
}

TEST_F(ShellStartUpTest, BarStoredAsVisibleShowsOnTheMainScreenAtLaunch) {
    struct Case {
        const char* name;
        bool stored;
        bool shown;
    };
    const std::vector<Case> cases = {
        {"stored visible", true, true},
        {"stored hidden", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetSharedInstances();
        desk().useLaptopWithExternal();
        desk().setAccessibilityTrusted(true);
        defaults().set(platform::PropertyValue(c.stored), settings::snapBarVisible.key);
        makeShell().applicationDidFinishLaunching();
        sim().runFor(1);
        EXPECT_EQ(barShown(), c.shown);
        if (c.shown) {
            EXPECT_EQ(barDisplay(), 0) << "the main screen";
        }
        wrapper.reset();
        platform::ui::Application::shared().setDelegate(nullptr);
    }
}

TEST_F(ShellStartUpTest, BarHidesWhileTheMenuIsOpenAndReturnsOnTheScreenUnderTheMouse) {
    shell().continueInitialization();
    shell().toggleSnapBar(nullptr);
    sim().runFor(1);
    ASSERT_TRUE(barShown());
    ASSERT_EQ(barDisplay(), 0);

    // The pointer rests just below the bar while the menu opens and moves to the external display
    // (right of the laptop) before it closes.
    const auto barFrame = bar()->frame();
    platform::SimInput::shared().moveMouse(
        {barFrame.origin.x + barFrame.size.width / 2, barFrame.origin.y - 10});
    std::optional<bool> shownWhileOpen;
    platform::ui::MenuPick pick;
    pick.afterSeconds = 0.5;
    pick.whileOpen = [&](platform::ui::Menu&) {
        platform::DispatchQueue::main().asyncAfter(platform::DispatchTime::now() + 0.3, [&] {
            shownWhileOpen = barShown();
            platform::SimInput::shared().moveMouse({2400, 500});
        });
    };
    platform::ui::UISimulator::scriptMenuPick(pick);
    ASSERT_TRUE(platform::ui::UISimulator::clickStatusItem(*shell().statusItem(), 0));
    sim().runFor(1);
    ASSERT_TRUE(shownWhileOpen.has_value());
    EXPECT_FALSE(*shownWhileOpen);
    EXPECT_TRUE(barShown());
    EXPECT_EQ(barDisplay(), 1) << "back on the display under the mouse";
    EXPECT_TRUE(defaults().boolForKey(settings::snapBarVisible.key));
}

TEST_F(ShellStartUpTest, AnyDefaultsWriteRefreshesTheIndicatorsOnceOnTheNextTurn) {
    shell().continueInitialization();
    shell().toggleSnapBar(nullptr);
    sim().runFor(1);
    ASSERT_TRUE(shell().snapBarController());
    const auto& stage = shell().snapBarController()->smToggleButton();
    ASSERT_TRUE(stage);
    ASSERT_EQ(stage->state, platform::ui::ControlState::off);

    // A write of a key nothing else watches: only the shell's defaults observer refreshes.
    defaults().set(platform::PropertyValue(true), settings::integrateStageManager.key);
    EXPECT_EQ(stage->state, platform::ui::ControlState::off) << "not inside the write";
    sim().drainMainQueue();
    EXPECT_EQ(stage->state, platform::ui::ControlState::on);

    stage->state = platform::ui::ControlState::off;
    sim().runFor(1);
    EXPECT_EQ(stage->state, platform::ui::ControlState::off) << "one refresh per write";
}

} // namespace
} // namespace tilmora
