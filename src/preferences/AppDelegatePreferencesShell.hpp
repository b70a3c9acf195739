#pragma once

#include "preferences/PreferencesShell.hpp"

#include <memory>

namespace tilmora {

class AppDelegate;

/// The preferences' view of the application shell: every step goes to the shell's application
/// delegate (held weakly; a step after it is gone does nothing), or to the running application's
/// shell (`AppDelegateWrapper::current()`, looked up at each step) when made without one. Main
/// thread only.
class AppDelegatePreferencesShell : public PreferencesShell {
public:
    /// Follows the running application's shell.
    AppDelegatePreferencesShell() = default;
    explicit AppDelegatePreferencesShell(std::weak_ptr<AppDelegate> delegate)
        : delegate_(std::move(delegate))
        , followsApplication_(false) {}

    std::string keyboardShortcutsEnabledKey() const override;
    void toggleSnapBar() override;
    void refreshSnapBarIndicators() override;
    void rebuildStatusMenu() override;
    void applyKeyboardShortcutsEnabledState() override;
    void layoutScopePreferenceDidChange() override;

private:
    std::shared_ptr<AppDelegate> delegate() const;

    std::weak_ptr<AppDelegate> delegate_;
    bool followsApplication_ = true;
};

} // namespace tilmora
