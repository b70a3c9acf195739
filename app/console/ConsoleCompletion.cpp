#include "console/ConsoleCompletion.hpp"

#include "console/ActionCatalog.hpp"
#include "console/CommandTable.hpp"
#include "console/ConsoleText.hpp"
#include "console/MenuText.hpp"
#include "console/ProgramHost.hpp"
#include "console/ProgramWindows.hpp"
#include "console/WindowElements.hpp"
#include "shell/AppDelegate.hpp"

#include <algorithm>
#include <exception>

namespace tilmora {

namespace {

/// The `ui` subcommands whose next word names a window.
const char* const kWindowWords[] = {"show", "click", "type", "pick", "step", "scroll", "drag", "slide"};

bool namesWindow(const std::string& word) {
    return std::find(std::begin(kWindowWords), std::end(kWindowWords), word) != std::end(kWindowWords);
}

/// The quoted names of the items of the program's status menu at `path` (the top menu when
/// empty); nothing when the program is not running or the path reaches no submenu.
std::vector<std::string> menuTitles(const std::vector<std::string>& path) {
    const auto shell = ProgramHost::shared().shell();
    if (!shell || !shell->cachedStatusMenu()) return {};
    platform::ui::Menu* menu = shell->cachedStatusMenu().get();
    if (!path.empty()) {
        const auto item = MenuText::find(*menu, path);
        if (!item || !item->submenu()) return {};
        menu = item->submenu().get();
    }
    std::vector<std::string> out;
    for (const auto& item : menu->items())
        if (!item->isHidden && !item->isSeparatorItem()) out.push_back(ConsoleText::quote(MenuText::name(*item)));
    return out;
}

/// After `menu`, `menu pick` or `expect menu` (`words` from the path's first word on): a title of
/// the menu, or after ">" one of the submenu the path names.
std::vector<std::string> menuPath(const std::vector<std::string>& words) {
    if (words.empty()) return menuTitles({});
    if (words.back() != ">") return {};
    std::vector<std::string> path;
    for (const auto& word : words)
        if (word != ">") path.push_back(word);
    return menuTitles(path);
}

std::vector<std::string> windowNames() {
    std::vector<std::string> out;
    for (const auto& window : ProgramWindows::windows())
        out.push_back(ConsoleText::quote(ProgramWindows::displayName(*window)));
    return out;
}

/// The ids of the elements of the window `name` names, quoted where they hold a blank.
std::vector<std::string> elementIds(const std::string& name) {
    std::vector<std::string> out;
    for (const auto& id : WindowElements::ids(ProgramWindows::window(name))) {
        const std::string word = id.find_first_of(" \t\"") == std::string::npos ? id : ConsoleText::quote(id);
        if (std::find(out.begin(), out.end(), word) == out.end()) out.push_back(word);
    }
    return out;
}

std::vector<std::string> offered(const CommandTable& table, const std::vector<std::string>& words) {
    const std::string& command = words[0];
    const bool running = ProgramHost::shared().shell() != nullptr;
    if (words.size() == 1) {
        const auto* entry = table.find(command);
        std::vector<std::string> out = entry ? entry->words : std::vector<std::string>{};
        if (command == "menu") {
            const auto titles = menuTitles({});
            out.insert(out.end(), titles.begin(), titles.end());
        }
        return out;
    }
    if (command == "menu" && words[1] == "pick") return menuPath({words.begin() + 2, words.end()});
    if (command == "menu") return menuPath({words.begin() + 1, words.end()});
    if (command == "expect" && words[1] == "menu") return menuPath({words.begin() + 2, words.end()});
    if (!running) return {};
    if (command == "ui" && words[1] == "action" && words.size() == 2) return ActionCatalog::selectors();
    if ((command == "ui" && namesWindow(words[1])) || (command == "expect" && words[1] == "ui")) {
        if (words.size() == 2) return windowNames();
        if (words.size() == 3 && !(command == "ui" && words[1] == "show")) return elementIds(words[2]);
    }
    return {};
}

} // namespace

std::vector<std::string> ConsoleCompletion::candidates(const CommandTable& table, const std::vector<std::string>& words) {
    if (words.empty()) return table.names();
    try {
        return offered(table, words);
    } catch (const std::exception&) {
        // A window that is not there, a display that went: nothing to offer.
        return {};
    }
}

} // namespace tilmora
