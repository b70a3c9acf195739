#pragma once

#include "model/VeskPreset.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/ui/Responder.hpp"

#include <functional>
#include <memory>
#include <vector>

namespace tilmora {

class RoriDeru;
class SnapBarController;

/// What the snap bar and the on/off commands reach: the snap grid, the user defaults, the shell's
/// snap bar controller (made on demand), the single-tile presets the bar shows, the target of the
/// bar's buttons, and the shell's hooks for what follows a command. Main thread.
struct SwitchContext {
    RoriDeru& grid;
    platform::UserDefaults& defaults;
    std::shared_ptr<SnapBarController>& snapBar;
    /// The single-tile presets of a screen's display, in store order (none once the shell is gone).
    std::function<std::vector<VeskPreset>(const platform::NSScreen&)> tilePresets;
    /// The target of the bar's buttons.
    std::shared_ptr<platform::ui::Responder> barTarget;
    /// Rebuilds the status menu.
    std::function<void()> rebuildStatusMenu;
    /// Clears the preset grid chosen for each of the screens and its transient tile layout.
    std::function<void(const std::vector<platform::NSScreen>&)> clearTileSelection;
};

/// The snap bar's showing and hiding and the switches: drag snapping, the snap selection, the
/// Stage Manager and Mission Control integrations. Each logs through `print` where it says so.
/// Main thread.
class SwitchCommands {
public:
    /// Over `context`, which outlives the commands (one command per full expression).
    explicit SwitchCommands(const SwitchContext& context)
        : c_(context) {}

    /// Makes the snap bar controller over the grid, with its tile presets, when there is none.
    void ensureSnapBarController();
    /// Flips "WMSnapBarVisible", logs "[UI] Toggle Snap Bar -> SHOW" (or "HIDE"), shows the bar on
    /// the main screen or hides it, and rebuilds the status menu.
    void toggleSnapBar();
    /// Stores "WMSnapBarVisible" false, hides the bar when there is one, rebuilds the status menu.
    void disableSnapBarFromCloseButton();
    /// Flips drag snapping (in memory only); going off also clears the selected kinds, the marked
    /// presets and every display's preset grid. Then the bar's indicators and the status menu.
    void toggleSnapping();
    /// Clears the selected kinds, the marked presets and every display's preset grid, then the
    /// bar's highlight and the status menu.
    void resetSnapSelection();
    /// Only logs "[UI] Stage Reserve is no longer available.".
    void toggleStageReserve();
    /// Flips "WMIntegrateStageManager" and posts the integration's change notice.
    void toggleIntegrateStageManager();
    /// Flips "WMIntegrateMissionControl" and posts the integration's change notice.
    void toggleIntegrateMissionControl();

private:
    const SwitchContext& c_;
};

} // namespace tilmora
