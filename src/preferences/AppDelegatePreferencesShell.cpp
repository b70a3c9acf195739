#include "preferences/AppDelegatePreferencesShell.hpp"

#include "shell/AppDelegate.hpp"
#include "snapping/SnapBarController.hpp"

namespace tilmora {

std::string AppDelegatePreferencesShell::keyboardShortcutsEnabledKey() const {
    if (auto d = delegate_.lock()) return d->keyboardShortcutsEnabledKey;
    return PreferencesShell::keyboardShortcutsEnabledKey();
}

void AppDelegatePreferencesShell::toggleSnapBar() {
    if (auto d = delegate_.lock()) d->toggleSnapBar(nullptr);
}

void AppDelegatePreferencesShell::refreshSnapBarIndicators() {
    if (auto d = delegate_.lock(); d && d->snapBarController()) d->snapBarController()->refreshIndicators();
}

void AppDelegatePreferencesShell::rebuildStatusMenu() {
    if (auto d = delegate_.lock()) d->rebuildStatusMenu(std::nullopt);
}

void AppDelegatePreferencesShell::applyKeyboardShortcutsEnabledState() {
    if (auto d = delegate_.lock()) d->applyKeyboardShortcutsEnabledState();
}

void AppDelegatePreferencesShell::layoutScopePreferenceDidChange() {
    if (auto d = delegate_.lock()) d->layoutScopePreferenceDidChange();
}

} // namespace tilmora
