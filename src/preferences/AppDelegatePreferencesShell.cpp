#include "preferences/AppDelegatePreferencesShell.hpp"

#include "shell/AppDelegate.hpp"
#include "snapping/SnapBarController.hpp"

namespace tilmora {

std::shared_ptr<AppDelegate> AppDelegatePreferencesShell::delegate() const {
    return followsApplication_ ? AppDelegateWrapper::current() : delegate_.lock();
}

std::string AppDelegatePreferencesShell::keyboardShortcutsEnabledKey() const {
    if (auto d = delegate()) return d->keyboardShortcutsEnabledKey;
    return PreferencesShell::keyboardShortcutsEnabledKey();
}

void AppDelegatePreferencesShell::toggleSnapBar() {
    if (auto d = delegate()) d->toggleSnapBar(nullptr);
}

void AppDelegatePreferencesShell::refreshSnapBarIndicators() {
    if (auto d = delegate(); d && d->snapBarController()) d->snapBarController()->refreshIndicators();
}

void AppDelegatePreferencesShell::rebuildStatusMenu() {
    if (auto d = delegate()) d->rebuildStatusMenu(std::nullopt);
}

void AppDelegatePreferencesShell::applyKeyboardShortcutsEnabledState() {
    if (auto d = delegate()) d->applyKeyboardShortcutsEnabledState();
}

void AppDelegatePreferencesShell::layoutScopePreferenceDidChange() {
    if (auto d = delegate()) d->layoutScopePreferenceDidChange();
}

} // namespace tilmora
