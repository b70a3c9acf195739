#include "shell/AppDelegate.hpp"

#include "shell/commands/EditorWindowCommands.hpp"

namespace tilmora {

// The editor windows: the commands of `EditorWindowCommands`.

void AppDelegate::openLayoutEditor(platform::ui::Responder*) { EditorWindowCommands(editorWindowContext()).openLayoutEditor(); }

void AppDelegate::openVeskLayoutEditor(platform::ui::Responder*) {
    EditorWindowCommands(editorWindowContext()).openVeskLayoutEditor();
}

} // namespace tilmora
