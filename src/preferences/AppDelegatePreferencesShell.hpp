#pragma once

#include "preferences/PreferencesShell.hpp"

#include <memory>

namespace tilmora {

class AppDelegate;

/// The preferences' view of the application shell: every step goes to the shell's application
/// delegate (held weakly; a step after it is gone does nothing). Main thread only.
class AppDelegatePreferencesShell : public PreferencesShell {
public:
    explicit AppDelegatePreferencesShell(std::weak_ptr<AppDelegate> delegate)
        : delegate_(std::move(delegate)) {}

    std::string keyboardShortcutsEnabledKey() const override;
    void toggleSnapBar() override;
    void refreshSnapBarIndicators() override;
    void rebuildStatusMenu() override;
    void applyKeyboardShortcutsEnabledState() override;
    void layoutScopePreferenceDidChange() override;

private:
    std::weak_ptr<AppDelegate> delegate_;
};

} // namespace tilmora
