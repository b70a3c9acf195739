#include "shell/AppDelegate.hpp"

#include "shell/commands/SwitchCommands.hpp"

namespace tilmora {

// ---- Snap bar, snapping and the integrations: the commands of `SwitchCommands` ------------------

void AppDelegate::ensureSnapBarController() { SwitchCommands(switchContext()).ensureSnapBarController(); }

void AppDelegate::toggleSnapBar(platform::ui::Responder*) { SwitchCommands(switchContext()).toggleSnapBar(); }

void AppDelegate::disableSnapBarFromCloseButton() { SwitchCommands(switchContext()).disableSnapBarFromCloseButton(); }

void AppDelegate::toggleSnapping(platform::ui::Responder*) { SwitchCommands(switchContext()).toggleSnapping(); }

void AppDelegate::resetSnapSelection(platform::ui::Responder*) { SwitchCommands(switchContext()).resetSnapSelection(); }

void AppDelegate::toggleStageReserve(platform::ui::Responder*) { SwitchCommands(switchContext()).toggleStageReserve(); }

void AppDelegate::toggleIntegrateStageManager(platform::ui::Responder*) {
    SwitchCommands(switchContext()).toggleIntegrateStageManager();
}

void AppDelegate::toggleIntegrateMissionControl(platform::ui::Responder*) {
    SwitchCommands(switchContext()).toggleIntegrateMissionControl();
}

// ---- The keyboard-shortcut master switch: `ShortcutMasterSwitch` -----------------------------

const std::vector<GlobalShortcuts::Name>& AppDelegate::allKeyboardShortcutNames() {
    return ShortcutMasterSwitch::allNames();
}

bool AppDelegate::isKeyboardShortcutsEnabled() const { return shortcutSwitch_.isEnabled(); }

void AppDelegate::applyKeyboardShortcutsEnabledState() { shortcutSwitch_.apply(); }

void AppDelegate::setKeyboardShortcutsEnabled(bool enabled) { shortcutSwitch_.set(enabled); }

void AppDelegate::toggleKeyboardShortcutsEnabled(platform::ui::Responder*) { shortcutSwitch_.toggle(); }

} // namespace tilmora
