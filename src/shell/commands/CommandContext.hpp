#pragma once

#include "platform/ui/Responder.hpp"
#include "shell/commands/WindowCommandContext.hpp"

namespace tilmora {

/// What a command of the command table that is not a window command reaches: the shell's verbs
/// for the snapping state, the menu and the windows the shell opens, and the narrow context the
/// window commands run over. The shell implements it; a command's handler sees nothing else of
/// the shell. Main thread.
class CommandContext {
public:
    using Sender = platform::ui::Responder*;

    virtual ~CommandContext() = default;

    /// The context of one window command, built from the shell's components.
    virtual WindowCommandContext windowCommandContext() = 0;

    // Drag switches and the layout scope.
    virtual void toggleGridLines(Sender sender) = 0;
    virtual void toggleLayoutScope(Sender sender) = 0;
    virtual void openSnapPreferences() = 0;
    virtual void setLayoutScopeSingle(Sender sender) = 0;
    virtual void setLayoutScopeAll(Sender sender) = 0;

    // The preset grids.
    virtual void applyVeskPresetFromMenu(Sender sender) = 0;
    virtual void applyVeskTilePresetFromSnapBar(Sender sender) = 0;

    // Windows the shell opens.
    virtual void showWindow() = 0;
    virtual void openPreferences(Sender sender) = 0;
    virtual void openHelp(Sender sender) = 0;
    virtual void openLayoutEditor(Sender sender) = 0;
    virtual void openVeskLayoutEditor(Sender sender) = 0;

    // Snap bar, switches and quitting.
    virtual void toggleSnapBar(Sender sender) = 0;
    virtual void disableSnapBarFromCloseButton() = 0;
    virtual void toggleSnapping(Sender sender) = 0;
    virtual void resetSnapSelection(Sender sender) = 0;
    virtual void toggleStageReserve(Sender sender) = 0;
    virtual void toggleIntegrateStageManager(Sender sender) = 0;
    virtual void toggleIntegrateMissionControl(Sender sender) = 0;
    virtual void setKeyboardShortcutsEnabled(bool enabled) = 0;
    virtual void toggleKeyboardShortcutsEnabled(Sender sender) = 0;
    virtual void toggleLaunchAtStartup(Sender sender) = 0;
    virtual void quitApp() = 0;
};

} // namespace tilmora
