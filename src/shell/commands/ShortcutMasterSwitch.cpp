#include "shell/commands/ShortcutMasterSwitch.hpp"

#include "model/Settings.hpp"
#include "shortcuts/Registry.hpp"

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
}

void ShortcutMasterSwitch::set(bool enabled) {
    defaults_.set(enabled, enabledKey);
    apply();
    rebuildStatusMenu_();
}

void ShortcutMasterSwitch::toggle() { set(!isEnabled()); }

} // namespace tilmora
