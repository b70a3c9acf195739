#include "ProgramConsoleFixture.hpp"

#include "console/DesktopConsole.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/control/UISimulator.hpp"
#include "platform/ui/StatusItem.hpp"

#include "support/TableRow.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace platform::ui;

namespace {

/// Fills a submenu with 150 items when it is first read or opened.
class FillsWhenOpened : public MenuDelegate {
public:
    std::function<void(Menu&)> fill;
    int fills = 0;
    void menuNeedsUpdate(Menu& menu) override {
        if (menu.numberOfItems() > 0) return;
        ++fills;
        fill(menu);
    }
};

/// A small program shell: a status item whose click builds the menu for the display under the
/// button, with chord hints, key equivalents, checks, submenus (one that fills itself when it
/// opens), a disabled and a hidden item. Picking an item checks it in the next build.
class FakeShell : public Responder {
public:
    std::shared_ptr<StatusItem> item;
    std::string checked = "Left Half";
    std::vector<std::string> picks;
    int clicks = 0;
    bool opensMenu = true;
    std::shared_ptr<FillsWhenOpened> layouts = std::make_shared<FillsWhenOpened>();

    void install() {
        item = StatusBar::system().statusItem(StatusItemLength::variable);
        item->button()->setTarget(shared_from_this());
        item->button()->action = "statusBarButtonClicked:";
        registerAction("statusBarButtonClicked:", [this](Responder*) { clicked(); });
        registerAction("pick:", [this](Responder* sender) {
            auto* picked = static_cast<MenuItem*>(sender);
            checked = picked->title.substr(0, picked->title.find('\t'));
            picks.push_back(checked);
        });
    }

private:
    std::shared_ptr<MenuItem> add(Menu& menu, const std::string& title, const std::string& key = {}) {
        auto entry = menu.addItem(title, "pick:", key);
        entry->setTarget(shared_from_this());
        if (title.substr(0, title.find('\t')) == checked) entry->state = ControlState::on;
        return entry;
    }

    void clicked() {
        ++clicks;
        if (!opensMenu) return;
        auto menu = Menu::make("Status");
        menu->autoenablesItems = false;
        add(*menu, "Show Snapshot Manager\t⌃⌥O", "O");
        menu->addItem(MenuItem::separatorItem());
        add(*menu, "Left Half\t⌃⌥←");
        add(*menu, "Quit", "q");
        auto off = add(*menu, "Paste Layout");
        off->isEnabled = false;
        add(*menu, "Secret")->isHidden = true;
        auto advanced = MenuItem::make("Advanced");
        auto sub = Menu::make("Advanced");
        add(*sub, "Grid 2 × 2");
        auto deeper = MenuItem::make("Gaps");
        auto gaps = Menu::make("Gaps");
        add(*gaps, "Small", "g")->keyEquivalentModifierMask =
            platform::ModifierFlags::control | platform::ModifierFlags::option;
        deeper->setSubmenu(gaps);
        sub->addItem(deeper);
        advanced->setSubmenu(sub);
        menu->addItem(advanced);
        auto layoutsItem = MenuItem::make("Layouts");
        auto layoutsMenu = Menu::make("Layouts");
        layouts->fill = [this](Menu& into) {
            for (int i = 0; i < 150; ++i) add(into, "Layout " + std::to_string(i));
        };
        layoutsMenu->setDelegate(layouts);
        layoutsItem->setSubmenu(layoutsMenu);
        menu->addItem(layoutsItem);
        add(*menu, "Preferences…");
        // The display whose menu bar holds the button.
        auto screen = item->buttonWindow()->screen();
        add(*menu, "On " + (screen ? screen->localizedName() : std::string("no screen")));
        item->popUpStatusItemMenu(menu);
    }
};

class MenuCommandTest : public ProgramConsoleTest {
protected:
    void SetUp() override {
        ProgramConsoleTest::SetUp();
        platform::SimDesktop::shared().useLaptopWithExternal();
        shell = std::make_shared<FakeShell>();
        shell->install();
    }
    std::shared_ptr<FakeShell> shell;
};

TEST_F(MenuCommandTest, MenuPrintsEveryShownItemWithChecksHintsKeysAndSubmenus) {
    EXPECT_EQ(run("menu"), "Show Snapshot Manager\t⌃⌥O [⇧⌘O]\n"
                           "---\n"
                           "✓ Left Half\t⌃⌥←\n"
                           "Quit [⌘Q]\n"
                           "Paste Layout (disabled)\n"
                           "Advanced ▸\n"
                           "  Grid 2 × 2\n"
                           "  Gaps ▸\n"
                           "    Small [⌃⌥G]\n"
                           "Layouts ▸ (see menu \"Layouts\")\n"
                           "Preferences…\n"
                           "On Built-in Retina Display\n");
    EXPECT_EQ(shell->layouts->fills, 0) << "a submenu that fills itself when it opens stays closed";
    EXPECT_EQ(shell->picks, std::vector<std::string>{}) << "printing dismisses the menu";
    ASSERT_EQ(UISimulator::menuLog().size(), 1u);
    EXPECT_FALSE(UISimulator::menuLog().back().picked);
}

TEST_F(MenuCommandTest, DisplayNumberClicksTheItemOnThatDisplaysMenuBar) {
    struct Case {
        const char* line;
        const char* expected; // the last line of the menu, or the error
    };
    const Case cases[] = {
        {"menu display 2", "On DELL U2720Q\n"},
        {"menu display 1", "On Built-in Retina Display\n"},
        {"menu display 3", "error: no display 3"},
        {"menu display two", "error: not a number: two"},
        {"menu display", "error: usage: menu [\"Title\" [> \"Sub\" ...]] [display N] | menu pick \"Title\" [> \"Sub\" ...] [display N]"},
        {"menu 2", "error: no menu item \"2\""},
    };
    for (const auto& c : cases) {
        const std::string text = run(c.line);
        const std::string expected = c.expected;
        if (expected.starts_with("error: ")) {
            EXPECT_EQ(text.substr(0, expected.size()), expected) << c.line;
        } else {
            EXPECT_TRUE(text.ends_with(expected)) << c.line << "\n" << text;
        }
    }
}

TEST_F(MenuCommandTest, PickFollowsThePathByTheTextBeforeTheTab) {
    // The item the shell saw picked, "" for none.
    const std::vector<LineCase> cases = {
        {"menu pick \"Left Half\"", "picked \"Left Half\"\n", "Left Half"},
        {"menu pick Quit display 2", "picked \"Quit\"\n", "Quit"},
        {"menu pick \"Advanced\" > \"Gaps\" > \"Small\"", "picked \"Advanced\" > \"Gaps\" > \"Small\"\n",
         "Small"},
        {"menu pick \"Left Half\t⌃⌥←\"", "error: no menu item \"Left Half\\t⌃⌥←\"", ""},
        {"menu pick \"Nothing\"", "error: no menu item \"Nothing\"", ""},
        {"menu pick \"Secret\"", "error: no menu item \"Secret\"", ""},
        {"menu pick \"Advanced\" > \"Small\"", "error: no menu item \"Advanced\" > \"Small\"", ""},
        {"menu pick \"Paste Layout\"", "error: the menu item \"Paste Layout\" is disabled", ""},
        {"menu pick \"Advanced\"", "error: the menu item \"Advanced\" opens a submenu", ""},
        {"menu pick \"Quit\" > \"More\"", "error: no menu item \"Quit\" > \"More\"", ""},
        {"menu pick \"Advanced\" >", "error: usage: menu [\"Title\" [> \"Sub\" ...]] [display N] | menu pick", ""},
        {"menu pick", "error: usage: menu [\"Title\" [> \"Sub\" ...]] [display N] | menu pick", ""},
        // Through a submenu that fills itself when it opens, and titles in their ASCII spelling.
        {"menu pick \"Layouts\" > \"Layout 120\"", "picked \"Layouts\" > \"Layout 120\"\n", "Layout 120"},
        {"menu pick \"Advanced\" > \"Grid 2 x 2\"", "picked \"Advanced\" > \"Grid 2 x 2\"\n", "Grid 2 × 2"},
        {"menu pick \"Preferences...\"", "picked \"Preferences...\"\n", "Preferences…"},
        {"menu pick \"Preferences.\"", "error: no menu item \"Preferences.\"", ""},
        {"menu pick Quit display 9", "error: no display 9", ""},
    };
    expectLines(cases, shell->picks);
}

// `menu PATH` prints a submenu's items as opening it shows them, the first hundred of a long one.
TEST_F(MenuCommandTest, MenuWithAPathPrintsThatSubmenu) {
    std::string firstHundred;
    for (int i = 0; i < 100; ++i) firstHundred += "Layout " + std::to_string(i) + "\n";
    const std::vector<testsupport::TableRow<const char*, std::string>> cases = {
        {"long", "menu \"Layouts\"", firstHundred + "… and 50 more\n"},
        {"nested", "menu \"Advanced\"", "Grid 2 × 2\nGaps ▸\n  Small [⌃⌥G]\n"},
        {"deeper", "menu \"Advanced\" > \"Gaps\" display 2", "Small [⌃⌥G]\n"},
        {"no submenu", "menu \"Quit\"", "error: the menu item \"Quit\" opens no submenu"},
        {"missing", "menu \"Nothing\"", "error: no menu item \"Nothing\""},
        {"bad display", "menu \"Advanced\" display", "error: usage: menu [\"Title\""},
    };
    for (const auto& c : cases) {
        const std::string text = run(c.given);
        EXPECT_EQ(text.substr(0, c.expected.starts_with("error") ? c.expected.size() : text.size()), c.expected)
            << c.name;
    }
    EXPECT_EQ(shell->layouts->fills, 1);
    EXPECT_TRUE(shell->picks.empty());
}

TEST_F(MenuCommandTest, ExpectMenuReadsChecksAndPresenceAndFollowsAPick) {
    struct Case {
        const char* line;
        int status; // the session's status afterwards
        const char* output;
    };
    const Case cases[] = {
        {"expect menu \"Left Half\" checked", 0, ""},
        {"expect menu \"Quit\" unchecked", 0, ""},
        {"expect menu \"Advanced\" > \"Grid 2 × 2\" present display 2", 0, ""},
        {"expect menu \"Advanced\" > \"Grid 2 x 2\" unchecked", 0, ""},
        {"expect menu \"Layouts\" > \"Layout 149\" present", 0, ""},
        {"expect menu \"Move to Display\" missing", 0, ""},
        {"expect menu \"Secret\" missing", 0, ""},
        {"expect menu \"Quit\" checked", 1,
         "expect failed: line 0: menu \"Quit\"\n  expected: checked\n  actual:   unchecked\n"},
        {"expect menu \"Move to Display\" unchecked", 1,
         "expect failed: line 0: menu \"Move to Display\"\n  expected: unchecked\n  actual:   missing\n"},
        {"expect menu \"Left Half\" missing", 1,
         "expect failed: line 0: menu \"Left Half\"\n  expected: missing\n  actual:   present\n"},
        {"expect menu \"Left Half\" on", 0, "error: usage: expect menu"},
        {"expect menu \"Left Half\"", 0, "error: usage: expect menu"},
    };
    for (const auto& c : cases) {
        freshSession(); // a fresh status for each case
        const std::string text = run(c.line);
        EXPECT_EQ(text.substr(0, std::string(c.output).size()), c.output) << c.line;
        if (std::string(c.output).empty()) {
            EXPECT_EQ(text, "") << c.line;
        }
        EXPECT_EQ(session->status(), c.status) << c.line;
    }

    // The check moves with a pick.
    EXPECT_EQ(run("menu pick \"Advanced\" > \"Grid 2 × 2\""), "picked \"Advanced\" > \"Grid 2 × 2\"\n");
    EXPECT_EQ(run("expect menu \"Advanced\" > \"Grid 2 × 2\" checked"), "");
    EXPECT_EQ(run("expect menu \"Left Half\" unchecked"), "");
    EXPECT_EQ(session->status(), 0);
}

TEST_F(MenuCommandTest, AClickThatOpensNoMenuIsAnErrorAndLeavesNoPickForTheNextMenu) {
    shell->opensMenu = false;
    EXPECT_EQ(run("menu pick Quit"), "error: the status item opened no menu");
    EXPECT_EQ(run("menu"), "error: the status item opened no menu");
    EXPECT_EQ(shell->clicks, 2);

    // A menu opened later by the program itself is not picked by the failed command.
    shell->opensMenu = true;
    shell->item->button()->performClick();
    EXPECT_TRUE(shell->picks.empty());

    StatusBar::system().removeStatusItem(shell->item);
    EXPECT_EQ(run("menu"), "error: the program has no status item");
}

TEST_F(MenuCommandTest, ProgramCommandsNeedARunningProgram) {
    // A whole console: the program was never launched in it.
    std::ostringstream transcript;
    tilmora::DesktopConsole console(transcript);
    const int status = console.runString("menu\nmenu pick Quit\nexpect menu Quit present\nui windows\n"
                                         "ui show \"Tilmora Snapshots\"\nui action \"showWindow:\"\n");
    EXPECT_EQ(status, tilmora::DesktopConsole::exitError);
    for (int line = 1; line <= 6; ++line) {
        EXPECT_NE(
            transcript.str().find("error: line " + std::to_string(line) + ": the program is not running"),
            std::string::npos)
            << line;
    }
    EXPECT_EQ(shell->clicks, 0);
}

} // namespace
