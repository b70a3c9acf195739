#include "console/MenuText.hpp"

#include "console/ConsoleText.hpp"
#include "console/NameSuggestions.hpp"
#include "platform/ui/Control.hpp"

namespace tilmora {

using platform::ModifierFlags;
using platform::ui::Menu;
using platform::ui::MenuItem;

namespace {

/// Whether the submenu makes its items only when it opens.
bool fillsWhenOpened(const Menu& submenu) {
    return !submenu.delegate.expired();
}

void describeInto(std::string& out, Menu& menu, std::vector<std::string>& path, std::size_t depth) {
    const std::string indent(depth * 2, ' ');
    std::size_t shown = 0;
    std::size_t more = 0;
    for (const auto& item : menu.items()) {
        if (item->isHidden) continue;
        if (shown == MenuText::maxItemsShown) {
            ++more;
            continue;
        }
        ++shown;
        out += indent;
        out += MenuText::line(*item);
        if (!item->hasSubmenu() || item->isSeparatorItem()) {
            out += "\n";
            continue;
        }
        path.push_back(MenuText::name(*item));
        auto& submenu = *item->submenu();
        if (fillsWhenOpened(submenu)) {
            out += " (see menu " + MenuText::pathText(path) + ")\n";
        } else {
            out += "\n";
            submenu.update();
            describeInto(out, submenu, path, depth + 1);
        }
        path.pop_back();
    }
    if (more > 0) out += indent + "… and " + std::to_string(more) + " more\n";
}

/// The key as the menu shows it: letters upper case, the keys without a printed form by their symbol.
std::string keyText(const std::string& key) {
    if (key == "\r") return "↩";
    if (key == "\x1b") return "⎋";
    if (key == "\t") return "⇥";
    if (key == " ") return "Space";
    if (key == "\x7f" || key == "\b") return "⌫";
    if (key.size() == 1 && key[0] >= 'a' && key[0] <= 'z')
        return std::string(1, static_cast<char>(key[0] - 'a' + 'A'));
    return key;
}

} // namespace

std::string MenuText::describe(Menu& menu, const std::vector<std::string>& path) {
    std::string out;
    auto at = path;
    describeInto(out, menu, at, 0);
    return out;
}

std::string MenuText::name(const MenuItem& item) {
    return item.title.substr(0, item.title.find('\t'));
}

std::string MenuText::keyEquivalent(const MenuItem& item) {
    const std::string& key = item.keyEquivalent;
    if (key.empty()) return {};
    const ModifierFlags mask = item.keyEquivalentModifierMask;
    const bool upperCase = key.size() == 1 && key[0] >= 'A' && key[0] <= 'Z';
    std::string out;
    if (mask.contains(ModifierFlags::control)) out += "⌃";
    if (mask.contains(ModifierFlags::option)) out += "⌥";
    if (mask.contains(ModifierFlags::shift) || upperCase) out += "⇧";
    if (mask.contains(ModifierFlags::command)) out += "⌘";
    return out + keyText(key);
}

std::string MenuText::line(const MenuItem& item) {
    if (item.isSeparatorItem()) return "---";
    std::string out;
    if (item.state == platform::ui::ControlState::on) out += "✓ ";
    // A title may come from a file (a layout's name): its control characters print escaped, so
    // that it stays on its line; the TAB before the chord hint is the listing's own.
    out += ConsoleText::controlsEscaped(name(item));
    if (item.hasSubmenu()) out += " ▸";
    if (!item.isEnabled) out += " (disabled)";
    if (const auto tab = item.title.find('\t'); tab != std::string::npos)
        out += "\t" + ConsoleText::controlsEscaped(item.title.substr(tab + 1));
    if (const auto key = keyEquivalent(item); !key.empty()) out += " [" + ConsoleText::controlsEscaped(key) + "]";
    return out;
}

std::shared_ptr<MenuItem> MenuText::find(Menu& menu, const std::vector<std::string>& path) {
    Menu* current = &menu;
    std::shared_ptr<MenuItem> found;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (!current) return nullptr;
        found = nullptr;
        // The name as it stands first, then in its ASCII spelling.
        for (const bool exact : {true, false}) {
            for (const auto& item : current->items())
                if (!item->isHidden && !item->isSeparatorItem() &&
                    (exact ? name(*item) == path[i] : ConsoleText::namesTitle(path[i], name(*item)))) {
                    found = item;
                    break;
                }
            if (found) break;
        }
        if (!found) return nullptr;
        current = found->submenu().get();
        if (current && i + 1 < path.size()) current->update();
    }
    return found;
}

CommandError MenuText::missing(Menu& menu, const std::vector<std::string>& path) {
    Menu* current = &menu;
    std::string where;
    std::size_t step = 0;
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const auto item = find(menu, {path.begin(), path.begin() + static_cast<long>(i) + 1});
        if (!item || !item->submenu()) break;
        current = item->submenu().get();
        current->update();
        where = " in " + ConsoleText::quote(path[i]);
        step = i + 1;
    }
    std::vector<std::string> known;
    for (const auto& item : current->items())
        if (!item->isHidden && !item->isSeparatorItem()) known.push_back(name(*item));
    const std::string listedBy =
        step == 0 ? "`menu`"
                  : "`menu " + pathText({path.begin(), path.begin() + static_cast<long>(step)}) + "`";
    return NameSuggestions::unknown("no menu item " + pathText(path),
                                    path.empty() ? std::string() : path[step], known, "items" + where, true,
                                    listedBy);
}

std::string MenuText::pathText(const std::vector<std::string>& path) {
    std::string out;
    for (const auto& name : path) {
        if (!out.empty()) out += " > ";
        out += ConsoleText::quote(name);
    }
    return out;
}

} // namespace tilmora
