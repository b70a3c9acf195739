#pragma once

#include "model/SnapIconKind.hpp"
#include "platform/ui/Responder.hpp"

#include <cstdint>
#include <optional>

namespace tilmora {

/// What a command of the command table reaches: the shell's verbs that act on the frontmost
/// window, the snapping state, the menu and the windows the shell opens. The shell implements it;
/// a command's handler sees nothing else of the shell. Main thread.
class CommandContext {
public:
    using Sender = platform::ui::Responder*;
    enum class HDir { left, right };
    enum class VDir { top, bottom };

    virtual ~CommandContext() = default;

    // Window commands.
    virtual void snapToKind(SnapIconKind kind) = 0;
    virtual void snapFromMenuItem(Sender sender) = 0;
    virtual void snapMaximizeHeight() = 0;
    virtual void resizeRelative(double scale) = 0;
    virtual void snapRestoreLast() = 0;
    virtual void snapRestoreLastLayout() = 0;
    virtual void resetAllSnappedWindows(Sender sender) = 0;
    virtual void moveToEdge(std::optional<HDir> h, std::optional<VDir> v) = 0;
    virtual void moveToAdjacentDisplay(int step) = 0;
    virtual void enterMacFullScreen() = 0;
    virtual void snapFullScreenHalf(SnapIconKind kind) = 0;
    virtual void fullScreenPresetAction(Sender sender) = 0;
    virtual void selectGridPreset(Sender sender) = 0;
    virtual void selectGridPresetFromPopup(Sender sender) = 0;
    virtual void selectGridViaShortcut(std::int64_t rows, std::int64_t cols) = 0;
    virtual void toggleGridLines(Sender sender) = 0;
    virtual void toggleLayoutScope(Sender sender) = 0;
    virtual void openSnapPreferences() = 0;
    virtual void setLayoutScopeSingle(Sender sender) = 0;
    virtual void setLayoutScopeAll(Sender sender) = 0;

    // Displays, snap areas and the preset grids.
    virtual void moveToDisplayMenuItem(Sender sender) = 0;
    virtual void snapAreaFromMenuItem(Sender sender) = 0;
    virtual void applyStoredLayoutForCurrentSetup(Sender sender) = 0;
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
