#include "LaptopShellTest.hpp"

#include "model/LocalizationManager.hpp"
#include "platform/ui/Menu.hpp"
#include "shell/commands/ShellCommandTable.hpp"
#include "shortcuts/Name.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <any>
#include <set>

namespace tilmora {
namespace {

using GlobalShortcuts::Name;
using platform::ui::Menu;
using platform::ui::MenuItem;

class ShellCommandTableTest : public LaptopShellTest {};

// The chords are bound in catalog order, except that `nativeFullScreen` comes 19th, followed by the
// two full-screen halves, and Mission Control's switch before Stage Manager's; every catalog name
// is bound once.
TEST_F(ShellCommandTableTest, ChordsFollowTheCatalogWithItsTwoDifferences) {
    std::vector<std::string> expected;
    for (const auto& name : Name::catalog())
        expected.push_back(name.get().rawValue);
    ASSERT_EQ(expected.size(), 61u);
    std::size_t at = 18;
    for (const auto* moved :
         {&Name::nativeFullScreen(), &Name::fullScreenLeftHalf(), &Name::fullScreenRightHalf()}) {
        const auto from = std::find(expected.begin(), expected.end(), moved->rawValue);
        std::rotate(expected.begin() + static_cast<long>(at++), from, from + 1);
    }
    std::swap(expected[59], expected[60]);

    std::vector<std::string> bound;
    std::set<std::string> selectors;
    for (const auto& command : ShellCommandTable::all()) {
        if (command.chord) bound.push_back(command.chord().rawValue);
        if (command.selector) {
            EXPECT_TRUE(selectors.insert(command.selector).second) << "twice: " << command.selector;
            EXPECT_TRUE(shell().respondsTo(command.selector)) << command.selector;
        }
        EXPECT_TRUE(command.handler);
    }
    EXPECT_EQ(bound, expected);
}

// Each menu group holds the table's commands of that group, in their order, with their titles,
// selectors and kinds; the separators and the section between the groups stay where they were.
TEST_F(ShellCommandTableTest, MenuItemsAreTheTablesCommandsInMenuOrder) {
    const auto menu = shell().createMenu(std::nullopt);
    const auto head = [](const MenuItem& item) { return item.title.substr(0, item.title.find('\t')); };
    const auto indexOf = [&](const Menu& in, const std::string& title) {
        for (std::size_t i = 0; i < in.items().size(); ++i) {
            if (!in.items()[i]->isSeparatorItem() && head(*in.items()[i]) == title) return i;
        }
        ADD_FAILURE() << "no item " << title;
        return std::size_t{0};
    };
    struct Group {
        MenuPlace place;
        const char* header; // the submenu's header key; none: the top level
        const char* action; // the action every item sends; none: the command's own selector
    };
    const std::vector<Group> groups = {
        {MenuPlace::halves, nullptr, nullptr},
        {MenuPlace::corners, nullptr, nullptr},
        {MenuPlace::thirds, nullptr, nullptr},
        {MenuPlace::sizes, nullptr, nullptr},
        {MenuPlace::displays, nullptr, nullptr},
        {MenuPlace::edgeSubmenu, "menu.moveToEdge", nullptr},
        {MenuPlace::quarterSubmenu, "menu.quarters", "snapFromMenuItem:"},
        {MenuPlace::sixthSubmenu, "menu.sixths", "snapFromMenuItem:"},
        {MenuPlace::grids, nullptr, "selectGridPreset:"},
    };
    std::size_t previousEnd = 0;
    for (const auto& group : groups) {
        const auto commands = ShellCommandTable::inMenu(group.place);
        ASSERT_FALSE(commands.empty());
        const Menu& in =
            group.header ? *menu->itemAt(indexOf(*menu, localized(group.header)))->submenu() : *menu;
        const std::size_t first = indexOf(in, localized(commands.front()->titleKey));
        if (group.header) {
            EXPECT_EQ(in.numberOfItems(), commands.size()) << group.header;
        }
        if (!group.header && group.place != MenuPlace::halves) {
            EXPECT_TRUE(menu->itemAt(first - 1)->isSeparatorItem()) << commands.front()->titleKey;
            EXPECT_GT(first, previousEnd);
        }
        for (std::size_t i = 0; i < commands.size(); ++i) {
            const auto& command = *commands[i];
            SCOPED_TRACE(command.titleKey);
            const auto& item = *in.itemAt(first + i);
            EXPECT_EQ(head(item), localized(command.titleKey));
            EXPECT_EQ(item.action, group.action ? group.action : command.selector);
            if (group.place == MenuPlace::grids) continue;
            const auto* kind = std::any_cast<SnapIconKind>(&item.representedObject);
            EXPECT_EQ(kind ? std::optional<SnapIconKind>(*kind) : std::nullopt, command.kind);
        }
        if (!group.header) previousEnd = first + commands.size();
    }
    // The window commands follow the command block directly.
    EXPECT_EQ(indexOf(*menu, localized("menu.leftHalf")),
              indexOf(*menu, localized("menu.integrateMissionControl")) + 1);
}

} // namespace
} // namespace tilmora
