#pragma once

#include "platform/foundation/UserDefaults.hpp"
#include "shortcuts/Name.hpp"

#include <functional>
#include <vector>

namespace tilmora {

/// The one switch over all of the program's global chords: stored under
/// "WMKeyboardShortcutsEnabled" (absent, or not a Boolean, reads on) and applied to every name of
/// the catalog at once. It keeps the guard of its enable pass. Main thread.
class ShortcutMasterSwitch {
public:
    /// Over `defaults`; `rebuildStatusMenu` runs after `set` and `toggle`.
    ShortcutMasterSwitch(platform::UserDefaults& defaults, std::function<void()> rebuildStatusMenu);

    /// The 61 names of the shortcut catalog, in catalog order; built once.
    static const std::vector<GlobalShortcuts::Name>& allNames();

    bool isEnabled() const;
    /// Enables every name when the switch is on, else disables every one; a pass started while one
    /// runs returns at once.
    void apply();
    /// Stores `enabled`, applies it and rebuilds the status menu.
    void set(bool enabled);
    /// Stores the opposite of `isEnabled()`, applies it and rebuilds the status menu.
    void toggle();
    /// True while a pass of `apply` runs.
    bool isApplying() const { return applying_; }
    /// Marks a pass as running (true) or done (false), as one that runs elsewhere would.
    void setApplying(bool applying) { applying_ = applying; }

private:
    platform::UserDefaults& defaults_;
    std::function<void()> rebuildStatusMenu_;
    bool applying_ = false;
};

} // namespace tilmora
