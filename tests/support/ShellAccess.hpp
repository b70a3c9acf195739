#pragma once

#include "shell/AppDelegate.hpp"

namespace tilmora::testing {

/// Reaches the parts of the shell that only its own wiring uses, for tests.
struct ShellAccess {
    /// The keyboard-shortcut master switch (its enable-pass guard can be set as a running pass would).
    static ShortcutMasterSwitch& shortcutSwitch(AppDelegate& shell) { return shell.shortcutSwitch_; }
    static void checkAccessibilityAndExplain(AppDelegate& shell) { shell.checkAccessibilityAndExplain(); }
    static void presentDiagnosticsResult(AppDelegate& shell, const AppDelegate::DiagnosticsResult& result) {
        shell.presentDiagnosticsResult(result);
    }
};

} // namespace tilmora::testing
