#include "shell/AppDelegate.hpp"

#include "shell/commands/ShellCommandTable.hpp"
#include "shortcuts/Name.hpp"
#include "shortcuts/Registry.hpp"

namespace tilmora {

// The command table is in registration order; the order also fixes the order in which the chords
// are first registered with the hot-key engine.
void AppDelegate::registerSnapShortcutHandlers() {
    for (const auto& command : ShellCommandTable::all()) {
        if (!command.chord) continue;
        // Each action holds the shell weakly: a press after the shell is gone does nothing.
        GlobalShortcuts::onKeyDown(command.chord(), [weakSelf = weak(), handler = command.handler] {
            if (auto self = weakSelf.lock()) handler(*self, nullptr);
        });
    }
}

} // namespace tilmora
