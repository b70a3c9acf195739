#include "console/ActionCatalog.hpp"

#include "console/ConsoleText.hpp"
#include "model/LocalizationManager.hpp"
#include "shell/commands/ShellCommandTable.hpp"

#include <algorithm>
#include <optional>

namespace tilmora {

namespace {

struct Described {
    const char* selector;
    /// What it does, with "%" standing for the quoted title of `titleKey`.
    const char* what;
    const char* titleKey = nullptr;
};

/// The selectors that open one of the program's windows.
const Described kOpeners[] = {
    {"showWindow", "the snapshot manager, as the menu item %", "menu.showSnapshotManager"},
    {"openPreferences:", "the preferences, as the menu item %", "menu.preferences"},
    {"openSnapPreferences", "the preferences"},
    {"openHelp:", "the help page, as the menu item %", "menu.help"},
    {"openVeskLayoutEditor:", "the preset editor, as the menu item %", "menu.layoutEditor"},
    {"openLayoutEditor:", "the layout editor of the main display (no menu item opens it)"},
};

/// The selectors whose command has no menu title of its own in the table.
const Described kOthers[] = {
    {"enterMacFullScreen", "the frontmost window to full screen"},
    // Titles that change with the state or hold the program's name.
    {"toggleSnapping:", "switches drag snapping on or off, as the menu item % does", "menu.stopSnapping"},
    {"quitApp", "quits the program, as the menu's last item"},
    {"snapFromMenuItem:", "the snap kind of a quarter or sixth menu item (nothing without the item)"},
    {"resetAllSnappedWindows:", "as the menu item %", "menu.resetWindowsForApp"},
    {"selectGridPreset:", "the grid preset of a grid menu item (nothing without the item)"},
    {"selectGridPresetFromPopup:", "the grid preset a pop-up menu selects (nothing without it)"},
    {"toggleGridLines:", "switches the menu item %", "prefs.showGridLines"},
    {"toggleLayoutScope:", "switches between the two layout scopes"},
    {"setLayoutScopeSingle:", "as the menu item %", "menu.layoutActiveDisplay"},
    {"setLayoutScopeAll:", "as the menu item %", "menu.layoutAllDisplays"},
    {"fullScreenPresetAction:", "the full-screen kind of a menu item (nothing without the item)"},
    {"moveToDisplayMenuItem:", "the display of a \"Move to Display\" menu item (nothing without the item)"},
    {"snapAreaFromMenuItem:", "the snap area of a menu item (nothing without the item)"},
    {"applyStoredLayoutForCurrentSetup:", "the grid presets stored for the displays connected"},
    {"applyVeskPresetFromMenu:", "the custom layout of a menu item (nothing without the item)"},
    {"applyVeskTilePresetFromSnapBar:", "the custom tile of a snap-bar button (nothing without the button)"},
    {"disableSnapBarFromCloseButton", "hides the snap bar, as its close button"},
    {"resetSnapSelection:", "ends the chosen snap kind or grid"},
    {"resetSnapSelectionFromBar:", "ends the chosen snap kind or grid, as the snap bar does"},
    {"toggleStageReserve:", "logs that Stage Reserve is no longer available"},
    {"setKeyboardShortcutsEnabled:", "the on or off a menu item or control carries (nothing without it)"},
    {"toggleKeyboardShortcutsEnabled:", "switches the menu item %", "menu.keyboardShortcuts"},
    {"toggleLaunchAtStartup:", "switches the menu item %", "menu.launchAtLogin"},
};

/// The messages that take an object or answer one; `ui action` prints their answer.
struct ObjectMessage {
    const char* selector;
    const char* what;
    bool takesBoolean = false;
};
const ObjectMessage kObjectMessages[] = {
    {"createMenuWithPreferredScreen:", "prints the status menu built for the display under the pointer (kept nowhere)"},
    {"rebuildStatusMenuWithPreferredScreen:", "rebuilds the status menu (sent with no display)"},
    {"setLaunchAtLoginWithEnabled:", "true|false: turns login start on or off and prints what it returned", true},
};

std::string title(const char* key) {
    return ConsoleText::quote(LocalizationManager::shared().localizedString(key));
}

std::string described(const Described& d) {
    std::string text = d.what;
    if (const auto at = text.find('%'); at != std::string::npos && d.titleKey) text.replace(at, 1, title(d.titleKey));
    return text;
}

template <std::size_t N>
const Described* lookup(const Described (&table)[N], const std::string& selector) {
    for (const auto& d : table)
        if (selector == d.selector) return &d;
    return nullptr;
}

/// The selectors of the shell's table in its order, without those that open a window.
std::vector<const ShellCommand*> commands() {
    std::vector<const ShellCommand*> out;
    for (const auto& command : ShellCommandTable::all())
        if (command.selector && !lookup(kOpeners, command.selector)) out.push_back(&command);
    return out;
}

std::string line(const std::string& selector, const std::string& what) {
    std::string out = "  " + selector;
    if (what.empty()) return out + "\n";
    out += std::string(selector.size() < 36 ? 36 - selector.size() : 1, ' ');
    return out + what + "\n";
}

} // namespace

std::vector<std::string> ActionCatalog::selectors() {
    std::vector<std::string> out;
    for (const auto& d : kOpeners)
        out.emplace_back(d.selector);
    for (const auto* command : commands())
        out.emplace_back(command->selector);
    for (const auto& message : kObjectMessages)
        out.emplace_back(message.selector);
    return out;
}

bool ActionCatalog::takesBoolean(const std::string& selector) {
    return std::any_of(std::begin(kObjectMessages), std::end(kObjectMessages),
                       [&](const ObjectMessage& m) { return m.takesBoolean && selector == m.selector; });
}

std::string ActionCatalog::helpText() {
    std::string text = "ui action \"<selector>\" sends one of these to the program, as a menu item does:\n";
    text += "windows it opens:\n";
    for (const auto& d : kOpeners)
        text += line(d.selector, described(d));
    text += "commands:\n";
    for (const auto* command : commands()) {
        if (const auto* d = lookup(kOthers, command->selector))
            text += line(command->selector, described(*d));
        else if (command->titleKey)
            text += line(command->selector, "as the menu item " + title(command->titleKey));
        else
            text += line(command->selector, "");
    }
    text += "messages with an object:\n";
    for (const auto& message : kObjectMessages)
        text += line(message.selector, message.what);
    return text;
}

} // namespace tilmora
