#pragma once

#include "console/CommandError.hpp"
#include "platform/ui/Menu.hpp"

#include <memory>
#include <string>
#include <vector>

namespace tilmora {

/// How the console prints an open menu and finds its items. An item is named by its title's text
/// before the TAB (the text after the TAB is its chord hint). Main thread.
class MenuText {
public:
    /// The most items printed of one menu; "… and K more" stands for the rest.
    static constexpr std::size_t maxItemsShown = 100;

    /// One line per shown item of `menu` (hidden items left out), submenus' items after their
    /// item: two spaces per submenu level, "✓ " when on, the title's text before its TAB, " ▸" for
    /// a submenu, " (disabled)", then TAB + the chord hint when there is one, and " [⇧⌘O]" for a
    /// key equivalent. Separators print "---". Each line ends in "\n"; the titles' control
    /// characters print escaped (`ConsoleText::controlsEscaped`), so one item is one line. Submenus are brought up to
    /// date (automatic enabling) as opening them would; a submenu that fills itself when it opens
    /// (it has a delegate, as Custom Layouts has) stays closed, as a person sees it before opening
    /// it, its line ending in the hint " (see menu "PATH")". Of a menu of more than
    /// `maxItemsShown` items the first are printed, then "… and K more". `path` is the path of
    /// `menu` itself from the top menu (empty for the top menu), which the hints name.
    static std::string describe(platform::ui::Menu& menu, const std::vector<std::string>& path = {});
    /// The line of one item, without indentation and without "\n".
    static std::string line(const platform::ui::MenuItem& item);
    /// The title's text before its first TAB.
    static std::string name(const platform::ui::MenuItem& item);
    /// A key equivalent as the menu shows it: the modifiers in ⌃⌥⇧⌘ order, then the key ("⇧⌘O";
    /// an upper-case key adds ⇧). Empty without a key equivalent.
    static std::string keyEquivalent(const platform::ui::MenuItem& item);

    /// The item reached by following `path` (names, from the top menu down through submenus, each
    /// matching an item's name as it stands or in its ASCII spelling, `ConsoleText::namesTitle`,
    /// an exact match first); null when a step names no shown item or passes an item without a
    /// submenu. Submenus passed through are brought up to date (filled) as opening them would.
    static std::shared_ptr<platform::ui::MenuItem> find(platform::ui::Menu& menu,
                                                        const std::vector<std::string>& path);
    /// Why `path` finds no item in `menu`: "no menu item PATH", the nearest names of the deepest
    /// menu the path reaches ("; did you mean "Right Half"?") with the command that prints that
    /// menu ("`menu`", "`menu "SUB"`"), or, when none is near, its shown items (no separators) as
    /// `NameSuggestions::unknown` lists them, "items" or "items in "SUB"" when that is a submenu.
    static CommandError missing(platform::ui::Menu& menu, const std::vector<std::string>& path);
    /// `path` as the console prints it: each name quoted, joined by " > ".
    static std::string pathText(const std::vector<std::string>& path);
};

} // namespace tilmora
