// What the console tells a person who does not know the names: suggestions, lists, `help actions`
// and what Tab offers after the first word.

#include "console/ActionCatalog.hpp"
#include "console/CommandTable.hpp"
#include "console/ConsoleCompletion.hpp"
#include "console/ExpectationRegistration.hpp"
#include "console/NameSuggestions.hpp"
#include "shell/commands/ShellCommandTable.hpp"
#include "support/ProgramScriptTest.hpp"
#include "support/TableRow.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using tilmora::NameSuggestions;

namespace {

const std::vector<std::string> kTitles = {"Left Half", "Right Half", "Top Right", "Right Edge", "Maximize",
                                          "Grid 2 × 2", "Preferences…"};

bool has(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

} // namespace

TEST(NameSuggestionsTest, SuggestsTheNearestNames) {
    const std::vector<testsupport::TableRow<std::string, std::vector<std::string>>> cases = {
        {"letter case", "Right half", {"Right Half"}},
        {"one letter off", "Left Halve", {"Left Half"}},
        {"swapped neighbours", "Maxmiize", {"Maximize"}},
        {"ASCII spelling", "grid 2 x 3", {"Grid 2 × 2"}},
        {"ellipsis typed as a dot", "Preferences.", {"Preferences…"}},
        {"held in several, nearest first", "Right", {"Right Half", "Top Right", "Right Edge"}},
        {"far from all", "Quit", {}},
        {"too short to be held", "Ri", {}},
        {"empty", "", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NameSuggestions::nearest(c.given, kTitles), c.expected) << c.name;
    EXPECT_EQ(NameSuggestions::nearest("shwo", tilmora::CommandTable::builtIn().names()),
              std::vector<std::string>{"show"});
}

TEST(NameSuggestionsTest, ListsShortListsInlineAndLongOnesOneALine) {
    const auto none = NameSuggestions::unknown("no item \"X\"", "X", {}, "items");
    EXPECT_STREQ(none.what(), "no item \"X\" (items: none)");
    const auto shortList = NameSuggestions::unknown("no item \"Maximise\"", "Maximise", {"Maximize", "Center"}, "items");
    EXPECT_STREQ(shortList.what(), "no item \"Maximise\"; did you mean \"Maximize\"? (items: \"Maximize\", \"Center\")");
    EXPECT_TRUE(shortList.listed.empty());
    std::vector<std::string> many;
    for (int i = 0; i < 9; ++i) many.push_back("id" + std::to_string(i));
    const auto longList = NameSuggestions::unknown("no element \"id10\"", "id10", many, "ids", false);
    EXPECT_STREQ(longList.what(), "no element \"id10\"; did you mean id0 or id1?; 9 ids:");
    EXPECT_EQ(longList.listed, many);
    // With where the list is, a suggestion stands alone on its line; with none near, the list follows.
    const auto pointed =
        NameSuggestions::unknown("no element \"id10\"", "id10", many, "ids", false, "`ui show`");
    EXPECT_STREQ(pointed.what(), "no element \"id10\"; did you mean id0 or id1? (`ui show` lists the 9 ids)");
    EXPECT_TRUE(pointed.listed.empty());
    const auto far = NameSuggestions::unknown("no element \"zzz\"", "zzz", many, "ids", false, "`ui show`");
    EXPECT_STREQ(far.what(), "no element \"zzz\"; 9 ids:");
    EXPECT_EQ(far.listed, many);
}

class ConsoleHelpTest : public ProgramScriptTest {};

TEST_F(ConsoleHelpTest, ErrorsSuggestNamesAndSayHowToQuote) {
    const std::vector<testsupport::TableRow<const char*, std::string>> cases = {
        {"command", "shwo windows", "error: line 4: unknown command: shwo; did you mean show?\n"},
        {"first word", "show widnows", "error: line 4: unknown show: widnows; did you mean windows? (show screens | "},
        // A mistyped verb, key or check word: the suggestion first, then the usage.
        {"verb", "ui clik", "error: line 4: unknown ui command: clik; did you mean click? (usage: ui windows | "},
        {"verb before a title", "menu pikc \"Right Half\"",
         "error: line 4: unknown menu command: pikc; did you mean pick? (usage: menu "},
        {"verb of the desktop", "screen remov 2",
         "error: line 4: unknown screen command: remov; did you mean remove? (usage: screen add "},
        {"key name", "key ctrl+opt+lef", "error: line 4: unknown key \"lef\" in ctrl+opt+lef; did you mean left"},
        {"ui check", "expect ui \"Preferences\" \"prefs.verbose\" selectd",
         "error: line 4: unknown ui check: selectd; did you mean selected? (usage: expect ui "},
        {"menu check", "expect menu \"Show Snap Bar\" chekced",
         "error: line 4: unknown menu check: chekced; did you mean checked? (usage: expect menu "},
        {"empty title", "menu pick \"\"",
         "error: line 4: a title is needed: menu pick \"Title\" [> \"Sub\" ...] [display N]\n"},
        {"menu item", "menu pick \"Right half\"",
         "error: line 4: no menu item \"Right half\"; did you mean \"Right Half\"? (`menu` lists the 54 "
         "items)\n"},
        {"submenu item", "menu pick \"Quarters\" > \"First Quartr\"",
         "; did you mean \"First Quarter\"? (`menu \"Quarters\"` lists the "},
        {"menu item listed one a line", "menu pick \"Nothing\"", "\n  \"Right Half\"\n  \"Center Half\"\n"},
        {"unquoted title", "menu pick Right Half",
         "error: line 4: a title of several words goes in quotes: menu pick \"Right Half\"\n"},
        {"unquoted window", "ui show Tilmora Snapshots",
         "error: line 4: a title of several words goes in quotes: ui show \"Tilmora Snapshots\"\n"},
        {"window", "ui show \"Preferencs\"",
         "no program window \"Preferencs\"; did you mean \"Preferences\"? (`ui windows` lists the program's "
         "windows)\n"},
        {"panel", "ui show \"snapbar\"",
         "no program window \"snapbar\"; did you mean \"snap bar\"? (`ui windows`"},
        {"windows and panels listed", "ui show \"Nowhere\"",
         "no program window \"Nowhere\" (windows: \"Tilmora Snapshots\", \"Preferences\"; panels and "
         "editors: \"snap bar\", \"toast\", "
         "\"preset editor\", \"layout editor\")\n"},
        {"too few words", "ui click \"Preferences\"",
         "error: line 4: usage: ui click \"<window>\" \"<id, text or "},
        {"empty selector", "ui action \"\"", "error: line 4: a selector is needed: ui action \"<selector>\""},
        {"element", "ui click \"Preferences\" \"prefs.sav\"", "; did you mean prefs.save"},
        {"selector", "ui action \"openLayoutEditor\"",
         "error: line 4: the program answers no selector openLayoutEditor; did you mean openLayoutEditor:? "
         "(`help actions` lists the "},
        {"selectors listed", "ui action \"bogus\"", " selectors:\n  showWindow\n  openPreferences:\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetSharedInstances();
        run(std::string("desktop default\nprogram launch\nmenu pick \"Preferences…\"\n") + c.given + "\n");
        EXPECT_NE(out.str().find(c.expected), std::string::npos) << out.str();
    }
    // A suggestion is the error's last line: no list follows it.
    resetSharedInstances();
    run("desktop default\nprogram launch\nmenu pick \"Right half\"\n");
    EXPECT_TRUE(out.str().ends_with("(`menu` lists the 54 items)\n")) << out.str();
}

TEST_F(ConsoleHelpTest, HelpActionsSaysWhatEverySelectorDoes) {
    run("desktop default\nprogram launch\nhelp actions\n");
    const std::string text = out.str();
    EXPECT_NE(text.find("windows it opens:\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  openLayoutEditor:                   the layout editor of the main display (no menu item "
                        "opens it)\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("  openVeskLayoutEditor:               the preset editor, as the menu item \"Layout "
                        "Editor…\"\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("  snapRightHalf                       as the menu item \"Right Half\"\n"), std::string::npos);
    // Every selector of the shell once, each with what it does, and the three messages with an object.
    std::set<std::string> shell{"createMenuWithPreferredScreen:", "rebuildStatusMenuWithPreferredScreen:",
                                "setLaunchAtLoginWithEnabled:"};
    for (const auto& command : tilmora::ShellCommandTable::all())
        if (command.selector) shell.insert(command.selector);
    const auto selectors = tilmora::ActionCatalog::selectors();
    EXPECT_EQ(std::set<std::string>(selectors.begin(), selectors.end()), shell);
    EXPECT_EQ(selectors.size(), shell.size());
    for (const auto& selector : selectors) {
        const auto at = text.find("\n  " + selector + " ");
        ASSERT_NE(at, std::string::npos) << selector;
        const std::string line = text.substr(at + 1, text.find('\n', at + 1) - at - 1);
        EXPECT_NE(line.find_first_not_of(' ', 2 + selector.size()), std::string::npos) << line;
    }
}

TEST_F(ConsoleHelpTest, TabOffersTheWordsThatCanFollow) {
    // The program runs while the console lives.
    tilmora::DesktopConsole console(out);
    for (const char* line : {"desktop default", "program launch", "menu pick \"Show Snapshot Manager\""})
        ASSERT_TRUE(console.execute(line)) << out.str();
    using Words = std::vector<std::string>;
    const std::vector<testsupport::TableRow<Words, Words>> cases = {
        {"show", {"show"}, {"windows", "screens", "picture"}},
        {"program", {"program"}, {"launch", "quit"}},
        {"ui", {"ui"}, {"show", "click", "action"}},
        {"expect", {"expect"}, {"window", "menu", "ui", "toast"}},
        {"help", {"help"}, {"keys", "actions"}},
        {"menu titles", {"menu", "pick"}, {"\"Right Half\"", "\"Grid 2 × 2\"", "\"Preferences…\""}},
        {"menu offers pick and titles", {"menu"}, {"pick", "\"Quarters\""}},
        {"submenu", {"menu", "pick", "Quarters", ">"}, {"\"First Quarter\"", "\"Last Quarter\""}},
        {"expect menu", {"expect", "menu"}, {"\"Left Half\""}},
        {"windows", {"ui", "click"}, {"\"Tilmora Snapshots\""}},
        {"expect ui windows", {"expect", "ui"}, {"\"Tilmora Snapshots\""}},
        {"ids", {"ui", "click", "Tilmora Snapshots"}, {"snapshot.save", "snapshot.nameField"}},
        {"selectors", {"ui", "action"}, {"openLayoutEditor:", "snapLeftHalf"}},
    };
    const auto& table = tilmora::CommandTable::builtIn();
    for (const auto& c : cases) {
        const auto offered = tilmora::ConsoleCompletion::candidates(table, c.given);
        for (const auto& word : c.expected)
            EXPECT_TRUE(has(offered, word)) << c.name << ": " << word;
    }
    const std::vector<testsupport::TableRow<Words, bool>> nothing = {
        {"unknown command", {"bogus"}, true},
        {"after a complete title", {"menu", "pick", "Right Half"}, true},
        {"no such window", {"ui", "click", "Nowhere"}, true},
        {"no such submenu", {"menu", "Nothing", ">"}, true},
    };
    for (const auto& c : nothing)
        EXPECT_TRUE(tilmora::ConsoleCompletion::candidates(table, c.given).empty()) << c.name;
    EXPECT_TRUE(has(tilmora::ConsoleCompletion::candidates(table, {}), "show"));
    // `expect` offers every check the command files add.
    const auto* expect = table.find("expect");
    ASSERT_NE(expect, nullptr);
    for (const auto& word : tilmora::ExpectationRegistration::words())
        EXPECT_TRUE(has(expect->words, word)) << word;
}
