#include "shell/commands/SwitchCommands.hpp"

#include "model/Log.hpp"
#include "model/Settings.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "shell/SnappingSwitch.hpp"
#include "snapping/RoriDeru.hpp"
#include "snapping/SnapBarController.hpp"
#include "windows/StageIntegration.hpp"

#include <string>

namespace tilmora {

namespace {

void flipIntegration(platform::UserDefaults& defaults, const std::string& key) {
    defaults.set(!defaults.boolForKey(key), key);
    platform::NotificationCenter::defaultCenter().post(StageIntegration::stateDidChange, nullptr);
}

} // namespace

// ---- Snap bar ---------------------------------------------------------------------------------

void SwitchCommands::ensureSnapBarController() {
    if (c_.snapBar) return;
    auto controller = std::make_shared<SnapBarController>(c_.grid);
    controller->veskTilePresetsProvider = c_.tilePresets;
    c_.snapBar = controller;
}

void SwitchCommands::toggleSnapBar() {
    const bool wasVisible = c_.defaults.boolForKey(settings::snapBarVisible.key);
    c_.defaults.set(!wasVisible, settings::snapBarVisible.key);
    print(std::string("[UI] Toggle Snap Bar -> ") + (wasVisible ? "HIDE" : "SHOW"));
    ensureSnapBarController();
    if (!wasVisible) {
        c_.snapBar->show(platform::NSScreen::main(), c_.barTarget);
    } else {
        c_.snapBar->hide();
    }
    c_.rebuildStatusMenu();
}

void SwitchCommands::disableSnapBarFromCloseButton() {
    c_.defaults.set(false, settings::snapBarVisible.key);
    if (c_.snapBar) c_.snapBar->hide();
    c_.rebuildStatusMenu();
}

// ---- Snapping and the snap selection ---------------------------------------------------------

void SwitchCommands::toggleSnapping() {
    auto& grid = c_.grid;
    if (grid.isSnappingEnabled()) {
        switchSnappingOff(grid, SelectionOnSnappingOff::clearedWithoutMenuSelection);
        c_.clearTileSelection(platform::NSScreen::screens());
    } else {
        grid.setSnappingEnabled(true);
    }
    if (c_.snapBar) c_.snapBar->refreshIndicators();
    c_.rebuildStatusMenu();
}

void SwitchCommands::resetSnapSelection() {
    auto& grid = c_.grid;
    grid.suppressMenuSelectionOnce();
    grid.clearAllRectSelections();
    grid.clearGridPresetMarking(true);
    c_.clearTileSelection(platform::NSScreen::screens());
    if (c_.snapBar) c_.snapBar->refreshSelectionHighlight();
    c_.rebuildStatusMenu();
}

void SwitchCommands::toggleStageReserve() { print("[UI] Stage Reserve is no longer available."); }

void SwitchCommands::toggleIntegrateStageManager() {
    flipIntegration(c_.defaults, settings::integrateStageManager.key);
}

void SwitchCommands::toggleIntegrateMissionControl() {
    flipIntegration(c_.defaults, settings::integrateMissionControl.key);
}

} // namespace tilmora
