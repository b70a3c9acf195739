#include "shell/commands/ShortcutMasterSwitch.hpp"

#include "model/Log.hpp"
#include "model/Settings.hpp"
#include "shortcuts/DefaultShortcuts.hpp"
#include "shortcuts/Registry.hpp"

#include <algorithm>
#include <utility>

namespace tilmora {

namespace {

constexpr const char* enabledKey = settings::keyboardShortcutsEnabled.key;

} // namespace

ShortcutMasterSwitch::ShortcutMasterSwitch(platform::UserDefaults& defaults, std::function<void()> rebuildStatusMenu)
    : defaults_(defaults)
    , rebuildStatusMenu_(std::move(rebuildStatusMenu)) {}

const std::vector<GlobalShortcuts::Name>& ShortcutMasterSwitch::allNames() {
    static const std::vector<GlobalShortcuts::Name> names = [] {
        std::vector<GlobalShortcuts::Name> list;
        for (const auto& name : GlobalShortcuts::Name::catalog()) list.push_back(name.get());
        return list;
    }();
    return names;
}

bool ShortcutMasterSwitch::isEnabled() const {
    return settings::read(defaults_, settings::keyboardShortcutsEnabled);
}

void ShortcutMasterSwitch::apply() {
    if (applying_) return;
    applying_ = true;
    // The guard comes down however the pass ends, so a failed pass does not lock the switch.
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{applying_};
    const bool enabled = isEnabled();
    for (const auto& name : allNames()) {
        if (enabled) {
            GlobalShortcuts::enable({name});
        } else {
            GlobalShortcuts::disable({name});
        }
    }
    if (enabled) logChordConflicts();
}

void ShortcutMasterSwitch::logChordConflicts() {
    // The names of each stored chord, in catalog order.
    std::vector<std::pair<GlobalShortcuts::Shortcut, std::vector<const GlobalShortcuts::Name*>>> chords;
    for (const auto& name : allNames()) {
        const auto chord = GlobalShortcuts::getShortcut(name);
        if (!chord) continue;
        auto it = std::find_if(chords.begin(), chords.end(), [&](const auto& entry) { return entry.first == *chord; });
        if (it == chords.end()) it = chords.insert(chords.end(), {*chord, {}});
        it->second.push_back(&name);
    }
    for (const auto& entry : chords) {
        const auto& chord = entry.first;
        const auto& names = entry.second;
        if (names.size() < 2) continue;
        const bool sharedDefault = std::all_of(names.begin(), names.end(), [&chord](const GlobalShortcuts::Name* name) {
            return firstRunShortcut(*name) == chord;
        });
        if (sharedDefault) continue;
        std::string list;
        for (const auto* name : names) list += (list.empty() ? "" : ", ") + name->rawValue;
        const std::string line = "[Shortcuts] Conflict: " + chord.presentableDescription() + " is stored for " + list +
                                 "; each press runs all of them";
        if (loggedConflicts_.insert(line).second) print(line);
    }
}

void ShortcutMasterSwitch::set(bool enabled) {
    defaults_.set(enabled, enabledKey);
    apply();
    rebuildStatusMenu_();
}

void ShortcutMasterSwitch::toggle() { set(!isEnabled()); }

} // namespace tilmora
