#include "shell/AppDelegate.hpp"

#include "shell/commands/ShellCommandTable.hpp"

namespace tilmora {

// Every selector of the command table is a thin entry: it holds the shell for the call (so a
// command that drops the last outside reference still finishes) and runs its command on the main
// thread.
void AppDelegate::registerCommandActions() {
    for (const auto& command : ShellCommandTable::all()) {
        if (!command.selector) continue;
        registerAction(command.selector, [this, handler = command.handler](platform::ui::Responder* sender) {
            auto self = strong();
            if (!self) return;
            handler(*self, sender);
        });
    }
}

} // namespace tilmora
