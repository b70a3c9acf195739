#include "PreferencesFixture.hpp"

#include "model/Settings.hpp"

#include "platform/control/BundleControl.hpp"
#include "platform/control/SimInput.hpp"
#include "platform/control/ViewDriver.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/Window.hpp"
#include "platform/ui/declarative/HostingView.hpp"
#include "preferences/HelpPanelController.hpp"
#include "preferences/PreferencesHooks.hpp"
#include "shell/AppDelegate.hpp"
#include "shell/ShellHooks.hpp"
#include "shortcuts/RecorderField.hpp"
#include "shortcuts/Registry.hpp"
#include "snapping/SnapBarController.hpp"
#include "support/DesktopTest.hpp"

using namespace tilmora;
namespace decl = platform::ui::declarative;

namespace {

/// The shell made through its application delegate, with the preferences' hooks installed as the
/// program's entry installs them.
class PreferencesHooksTest : public DesktopTest {
protected:
    void restoreFixture() override {
        DesktopTest::restoreFixture();
        desk().useLaptop();
        platform::BundleControl::setResourceDirectory(programResources());
        ShellHooks hooks;
        PreferencesHooks::install(hooks);
        ShellHooks::install(hooks);
    }
    void TearDown() override {
        ShellHooks::reset();
        wrapper.reset();
        DesktopTest::TearDown();
    }
    /// The shell's preferences window, opened and built.
    std::shared_ptr<decl::HostingView> openPreferences(AppDelegate& shell) {
        shell.openPreferences(nullptr);
        sim().drainMainQueue();
        auto window = shell.preferencesWindowController()->window();
        auto host = window ? std::dynamic_pointer_cast<decl::HostingView>(window->contentView()) : nullptr;
        if (!host) throw std::runtime_error("no preferences view");
        host->rebuildIfNeeded();
        sim().drainMainQueue();
        host->rebuildIfNeeded();
        return host;
    }
    std::shared_ptr<AppDelegateWrapper> wrapper;
};

TEST_F(PreferencesHooksTest, AChordRecordedWhileShortcutsAreOffStaysUnregisteredWithTheRealShell) {
    platform::UserDefaults::standard().set(platform::PropertyValue(false),
                                           settings::keyboardShortcutsEnabled.key);
    wrapper = std::make_shared<AppDelegateWrapper>();
    platform::ui::Application::shared().setDelegate(wrapper);
    auto& shell = *wrapper->appDelegate();
    auto host = openPreferences(shell);
    auto* field = recorderField(*host, "snap-left-half");
    ASSERT_NE(field, nullptr);
    platform::SimInput::shared().setKeysGoToProgram([] { return true; });
    ASSERT_TRUE(shell.preferencesWindowController()->window()->makeFirstResponder(field));
    const auto ctrlOpt = platform::ModifierFlags::control | platform::ModifierFlags::option;
    platform::SimInput::shared().keyDown(40, ctrlOpt);
    platform::SimInput::shared().keyUp(40, ctrlOpt);
    sim().drainMainQueue();
    EXPECT_TRUE(platform::UserDefaults::standard().objectForKey("GlobalShortcuts_snap-left-half"));
    EXPECT_FALSE(GlobalShortcuts::Registry::shared().registeredShortcuts().contains(
        GlobalShortcuts::Shortcut(40, 6144)));
}

TEST_F(PreferencesHooksTest, TheShellsPreferencesWindowShowsTheFormAndItsSwitchesReachTheShell) {
    wrapper = std::make_shared<AppDelegateWrapper>();
    platform::ui::Application::shared().setDelegate(wrapper);
    auto& shell = *wrapper->appDelegate();
    shell.openPreferences(nullptr);
    sim().drainMainQueue();
    auto window = shell.preferencesWindowController()->window();
    ASSERT_TRUE(window);
    auto host = std::dynamic_pointer_cast<decl::HostingView>(window->contentView());
    ASSERT_TRUE(host);
    host->rebuildIfNeeded();
    sim().drainMainQueue();
    decl::ViewDriver driver(*host);
    ASSERT_TRUE(driver.click("Show Snap Bar"));
    sim().drainMainQueue();
    EXPECT_TRUE(platform::UserDefaults::standard().boolForKey(settings::snapBarVisible.key));
    EXPECT_TRUE(shell.snapBarController());
    ASSERT_TRUE(driver.click("prefs.close"));
    EXPECT_FALSE(window->isVisible());

    auto help = ShellHooks::current().makeHelpPanel();
    auto* panel = dynamic_cast<HelpPanelController*>(help.get());
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->webView);
    EXPECT_EQ(panel->window()->level(), 3);
}

} // namespace
