#include "LaptopShellTest.hpp"

#include "model/DisplaySignature.hpp"
#include "model/LocalizationManager.hpp"
#include "model/Settings.hpp"
#include "model/SnapIconKind.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/ui/Menu.hpp"
#include "shortcuts/Key.hpp"
#include "shortcuts/Name.hpp"
#include "shortcuts/Shortcut.hpp"
#include "snapping/RoriDeru.hpp"
#include "support/SnapGridParts.hpp"

#include <gtest/gtest.h>

#include <any>

namespace tilmora {
namespace {

using platform::ui::Menu;
using platform::ui::MenuItem;

class StatusMenuTest : public LaptopShellTest {
protected:
    static std::string head(const std::shared_ptr<MenuItem>& item) {
        if (item->isSeparatorItem()) return "---";
        return item->title.substr(0, item->title.find('\t'));
    }
    static std::shared_ptr<MenuItem> find(const Menu& menu, const std::string& title) {
        for (const auto& item : menu.items()) {
            if (!item->isSeparatorItem() && head(item) == title) return item;
        }
        return nullptr;
    }
    static long indexOf(const Menu& menu, const std::string& title) {
        for (std::size_t i = 0; i < menu.items().size(); ++i) {
            if (head(menu.items()[i]) == title) return static_cast<long>(i);
        }
        return -1;
    }
    std::shared_ptr<Menu> build() { return shell().createMenu(std::nullopt); }
};

TEST_F(StatusMenuTest, OneDisplayHasTheFullMenuAndMinimalModeFoldsTheTail) {
    auto menu = build();
    EXPECT_EQ(menu->numberOfItems(), 63u);
    const auto first = menu->itemAt(0);
    EXPECT_EQ(first->keyEquivalent, "O");
    EXPECT_EQ(first->keyEquivalentModifierMask, platform::ModifierFlags::command);
    EXPECT_EQ(indexOf(*menu, "Left Half"), indexOf(*menu, "Mission Control Integration") + 1);
    EXPECT_EQ(indexOf(*menu, "Move to Display"), -1);
    EXPECT_EQ(head(menu->itemAt(static_cast<std::size_t>(indexOf(*menu, "Previous Display")) + 1)), "---");

    defaults().set(platform::PropertyValue(true), settings::minimalMenuMode.key);
    menu = build();
    EXPECT_EQ(menu->numberOfItems(), 60u);
    const long advanced = indexOf(*menu, "Advanced");
    ASSERT_GE(advanced, 0);
    EXPECT_EQ(static_cast<std::size_t>(advanced) + 2, menu->numberOfItems())
        << "the quit item follows directly";
    EXPECT_EQ(menu->itemAt(static_cast<std::size_t>(advanced))->submenu()->numberOfItems(), 3u);
}

TEST_F(StatusMenuTest, DisplaysGetMoveItemsWithTheirSignatures) {
    desk().useLaptopWithExternal();
    auto menu = build();
    auto header = find(*menu, "Move to Display");
    ASSERT_TRUE(header);
    ASSERT_EQ(header->submenu()->numberOfItems(), 2u);
    struct Case {
        std::string title;
        DisplaySignature signature;
    };
    const std::vector<Case> cases = {
        {"Display 1: Built-in Retina Display", {1, 2880, 1800}},
        {"Display 2: DELL U2720Q", {2, 1920, 1080}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto item = header->submenu()->itemAt(i);
        EXPECT_EQ(item->title, cases[i].title);
        EXPECT_EQ(item->action, "moveToDisplayMenuItem:");
        EXPECT_EQ(std::any_cast<DisplaySignature>(item->representedObject), cases[i].signature);
    }
}

TEST_F(StatusMenuTest, ChordHintsFollowTheStoredChord) {
    const auto& name = GlobalShortcuts::Name::snapLeftHalf();
    name.setShortcut(GlobalShortcuts::Shortcut(
        GlobalShortcuts::Key::leftArrow, platform::ModifierFlags::control | platform::ModifierFlags::option));
    EXPECT_EQ(find(*build(), "Left Half")->title, "Left Half\t\u2303\u2325\u2190");
    name.setShortcut(std::nullopt);
    EXPECT_EQ(find(*build(), "Left Half")->title, "Left Half");
}

TEST_F(StatusMenuTest, ChecksFollowTheSelectionTheSuppressFlagAndTheSwitches) {
    RoriDeru& grid = shell().roriDeru();
    const auto screen = platform::NSScreen::main();
    grid.setSelectedKind(SnapIconKind::leftHalf, screen);
    grid.suppressMenuSelectionOnce();
    auto checked = [&](const std::shared_ptr<Menu>& menu) {
        std::vector<std::string> titles;
        for (const auto& item : menu->items()) {
            if (item->state == 1 && item->representedObject.has_value()) titles.push_back(head(item));
        }
        return titles;
    };
    EXPECT_TRUE(checked(build()).empty()) << "the first build after a command checks nothing";
    EXPECT_FALSE(grid.consumeSuppressMenuSelection());
    EXPECT_EQ(checked(build()), (std::vector<std::string>{"Left Half"}));

    grid.setSnappingEnabled(false);
    auto menu = build();
    EXPECT_EQ(find(*menu, "Start Snapping")->state, 0);
    grid.setSnappingEnabled(true);
    EXPECT_EQ(find(*build(), "Stop Snapping")->state, 1);

    desk().setLoginItemStatus(2);
    EXPECT_EQ(find(*build(), "Launch at Login")->state, 1);
}

TEST_F(StatusMenuTest, UIStartUpMakesTheHiddenMainWindowAndTheStatusItem) {
    shell().continueInitialization();
    ASSERT_TRUE(shell().window());
    EXPECT_EQ(shell().window()->title, "Tilmora Snapshots");
    EXPECT_EQ(shell().window()->frameAutosaveName, "Main Window");
    EXPECT_FALSE(shell().window()->isVisible());
    ASSERT_TRUE(shell().statusItem());
    EXPECT_EQ(shell().statusItem()->button()->action, "statusBarButtonClicked:");
    EXPECT_EQ(shell().statusItem()->menu, nullptr);
    EXPECT_TRUE(shell().cachedStatusMenu());

    shell().showWindow();
    EXPECT_TRUE(shell().window()->isVisible());
    shell().showWindow();
    EXPECT_EQ(shell().window()->frame().size, (platform::CGSize{1000, 600}));
}

TEST_F(StatusMenuTest, LayoutScopeAlreadyAllKeepsTheMenu) {
    defaults().set(platform::PropertyValue(true), settings::gridAllDisplays.key);
    shell().rebuildStatusMenu();
    const auto before = shell().cachedStatusMenu();
    shell().setLayoutScopeAll(nullptr);
    EXPECT_EQ(shell().cachedStatusMenu(), before);
    shell().setLayoutScopeSingle(nullptr);
    EXPECT_NE(shell().cachedStatusMenu(), before);
    EXPECT_FALSE(defaults().boolForKey(settings::gridAllDisplays.key));
}

} // namespace
} // namespace tilmora

namespace tilmora {
namespace {

class StatusMenuLaunchTest : public StatusMenuTest {};

TEST_F(StatusMenuLaunchTest, ShowingTheWindowFirstRunsTheStartUpAndLaterShowingsCentreIt) {
    shell().showWindow();
    ASSERT_TRUE(shell().window());
    EXPECT_TRUE(shell().didFinishUIInitialization());
    const auto firstFrame = shell().window()->frame();
    EXPECT_NE(firstFrame.size, (platform::CGSize{1000, 600})) << "the first showing sets no frame";
    shell().showWindow();
    const auto visible = platform::NSScreen::main()->visibleFrame();
    EXPECT_EQ(shell().window()->frame(),
              (platform::CGRect{{visible.origin.x + (visible.size.width - 1000) / 2,
                                 visible.origin.y + (visible.size.height - 600) / 2},
                                {1000, 600}}));
    // The update cycle that ends later only schedules a rebuild.
    const auto menu = shell().cachedStatusMenu();
    platform::SPUStandardUpdaterController controller(false, &shell());
    shell().updaterDidFinishUpdateCycle(controller.updater(), std::nullopt);
    EXPECT_EQ(shell().cachedStatusMenu(), menu);
    sim().runFor(0.1);
    EXPECT_NE(shell().cachedStatusMenu(), menu);
}

TEST_F(StatusMenuLaunchTest, DragSettingsAreReadAsStoredBooleansOnly) {
    defaults().set(platform::PropertyValue("YES"), settings::magnetDragMode.key);
    defaults().set(platform::PropertyValue(true), settings::dragRequireOption.key);
    shell().continueInitialization();
    EXPECT_FALSE(SnapGridParts::switches(shell().roriDeru()).magnetMode);
    EXPECT_TRUE(SnapGridParts::switches(shell().roriDeru()).dragRequireOption);
}

TEST_F(StatusMenuLaunchTest, LanguageChangeRebuildsTheMenuInTheNewLanguage) {
    shell().applicationDidFinishLaunching();
    shell().continueInitialization();
    LocalizationManager::shared().setSelectedLanguageCode("de");
    sim().runFor(0.1);
    ASSERT_TRUE(shell().cachedStatusMenu());
    EXPECT_TRUE(find(*shell().cachedStatusMenu(), "Linke H\u00e4lfte")) << "rebuilt on the language change";
}

TEST_F(StatusMenuLaunchTest, ClickOnASecondDisplaysButtonBuildsThatDisplaysMenu) {
    desk().useLaptopWithExternal();
    defaults().set(platform::PropertyValue(true), settings::verboseLogging.key);
    shell().continueInitialization();
    platform::ui::UISimulator::scriptMenuPick(platform::ui::MenuPick{});
    ASSERT_TRUE(platform::ui::UISimulator::clickStatusItem(*shell().statusItem(), 1));
    EXPECT_TRUE(printed("[Menu] Status item clicked from screen=DELL U2720Q\n")) << output;
}

TEST_F(StatusMenuLaunchTest, MessagesWithAScreenBuildForThatScreen) {
    desk().useLaptopWithExternal();
    defaults().set(platform::PropertyValue(true), settings::verboseLogging.key);
    shell().continueInitialization();
    const auto screens = platform::NSScreen::screens();
    ASSERT_EQ(screens.size(), 2u);
    const auto first = shell().cachedStatusMenu();
    ASSERT_TRUE(shell().performWithObject("rebuildStatusMenuWithPreferredScreen:", std::any(screens[1])));
    EXPECT_TRUE(printed("Rebuilding menu requested=DELL U2720Q target=DELL U2720Q")) << output;
    const auto rebuilt = shell().cachedStatusMenu();
    EXPECT_NE(rebuilt, first);

    // The menu builder answers its menu and leaves the stored one to its caller.
    const auto answer = shell().performWithObject("createMenuWithPreferredScreen:", std::any{});
    ASSERT_TRUE(answer);
    const auto* menu = std::any_cast<std::shared_ptr<Menu>>(&*answer);
    ASSERT_TRUE(menu && *menu);
    EXPECT_TRUE(find(**menu, "Left Half"));
    EXPECT_EQ(shell().cachedStatusMenu(), rebuilt);
    EXPECT_TRUE(printed("Rebuilding menu requested=nil")) << output;
}

} // namespace
} // namespace tilmora
