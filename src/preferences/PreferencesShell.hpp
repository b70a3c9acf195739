#pragma once

#include "model/Settings.hpp"

#include <memory>
#include <string>

namespace tilmora {

/// What the preferences window asks of the application shell. The program's entry installs the
/// implementation at start-up (`PreferencesHooks::install`; hook "PreferencesShell" of
/// `HookRegistry`); until then (and in tests without one) the steps that need it are skipped with
/// a log line. Main thread only.
class PreferencesShell {
public:
    virtual ~PreferencesShell() = default;

    /// The user-defaults key of the keyboard-shortcut master switch.
    virtual std::string keyboardShortcutsEnabledKey() const { return settings::keyboardShortcutsEnabled.key; }
    /// Flips `settings::snapBarVisible` and shows or hides the snap bar.
    virtual void toggleSnapBar() = 0;
    /// The snap-bar controller, when there is one, refreshes its indicators; nothing otherwise.
    virtual void refreshSnapBarIndicators() = 0;
    /// Builds the status menu again (for no preferred screen) and keeps it.
    virtual void rebuildStatusMenu() = 0;
    /// Registers or unregisters the global shortcuts after the master switch or a chord changed.
    virtual void applyKeyboardShortcutsEnabledState() = 0;
    /// Follows a change of `settings::gridAllDisplays`.
    virtual void layoutScopePreferenceDidChange() = 0;

    /// Installs the shell's implementation (none removes it). Reset with the shared instances.
    static void install(std::shared_ptr<PreferencesShell> shell);
    /// The installed implementation; null when none is.
    static std::shared_ptr<PreferencesShell> installed();
};

} // namespace tilmora
