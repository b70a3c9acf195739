#pragma once

namespace tilmora {

struct ShellHooks;

/// Puts the preferences window and the help panel into the shell's hooks (the program's entry
/// calls it at start-up, before the shell opens either). Main thread only.
struct PreferencesHooks {
    /// Installs the running application's shell as the preferences' shell
    /// (`AppDelegatePreferencesShell`), and sets `preferencesRoot`: installs the shell's delegate
    /// as the preferences' shell and returns a hosting view of a new `PreferencesView` with the
    /// delegate's snap grid in its environment; and `makeHelpPanel`: a new `HelpPanelController`.
    static void install(ShellHooks& hooks);
};

} // namespace tilmora
