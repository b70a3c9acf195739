#include "shell/commands/GridPresetCommands.hpp"

#include "model/Log.hpp"
#include "platform/ui/MenuItem.hpp"
#include "platform/ui/PopUpButton.hpp"
#include "shell/GridPresetLogText.hpp"
#include "shell/commands/ScreenChoice.hpp"
#include "snapping/RoriDeru.hpp"
#include "windows/ScreenIdentity.hpp"

#include <algorithm>
#include <any>
#include <string>
#include <vector>

namespace tilmora {

namespace {

enum class GridPresetSource { menu, snapBar };

/// Applies `preset` on each of `targets`, then clears their selected kinds, then marks the preset
/// in their menus.
void applyOn(RoriDeru& grid, const RoriDeru::Preset& preset, const std::vector<platform::NSScreen>& targets) {
    for (const auto& target : targets) grid.applyPreset(preset, target, true, true);
    for (const auto& target : targets) grid.setSelectedKind(std::nullopt, target);
    for (const auto& target : targets) grid.setMarkGridPresetInMenu(true, target);
}

/// The grid-preset command of the menu and of the snap bar's pop-up, given the chosen item's
/// represented object: switches the preset off where it is already active, else applies it.
void selectGridPresetFrom(const WindowCommandContext& c, const std::any& object, GridPresetSource source) {
    const auto* preset = std::any_cast<RoriDeru::Preset>(&object);
    if (!preset) return;
    print(std::string(source == GridPresetSource::menu ? "[UI] Selected grid preset via menu: "
                                                       : "[UI] Selected grid preset via Snap Bar: ") +
          std::to_string(preset->rows) + "×" + std::to_string(preset->cols) +
          " gutter=" + GridPresetLogText::wholeNumber(preset->gutter) +
          " padding=" + GridPresetLogText::wholeNumber(preset->padding));
    auto& grid = c.grid;
    const ScreenChoice screens(grid, c.defaults);
    const auto targets = screens.layoutTargets(screens.forSnapping());
    c.clearTileSelection(targets);
    if (!targets.empty() && tlm_displayID(targets.front())) {
        const auto active = grid.activePreset(targets.front());
        if (active && *active == *preset) {
            grid.switchGridPresetOff(targets);
            if (source == GridPresetSource::menu) c.displayLayouts.store().captureCurrentPresetConfiguration();
            return;
        }
    }
    applyOn(grid, *preset, targets);
    grid.setDragRequireOption(false);
    c.displayLayouts.store().captureCurrentPresetConfiguration();
}

} // namespace

void GridPresetCommands::selectGridPreset(platform::ui::Responder* sender) {
    auto* item = dynamic_cast<platform::ui::MenuItem*>(sender);
    if (!item) return;
    selectGridPresetFrom(c_, item->representedObject, GridPresetSource::menu);
}

void GridPresetCommands::selectGridPresetFromPopup(platform::ui::Responder* sender) {
    auto* popUp = dynamic_cast<platform::ui::PopUpButton*>(sender);
    if (!popUp) return;
    const auto item = popUp->selectedItem();
    if (!item) return;
    selectGridPresetFrom(c_, item->representedObject, GridPresetSource::snapBar);
}

void GridPresetCommands::selectGridViaShortcut(std::int64_t rows, std::int64_t cols) {
    auto& grid = c_.grid;
    const ScreenChoice screens(grid, c_.defaults);
    const auto targets = screens.layoutTargets(screens.forSnapping());
    if (!targets.empty()) {
        const RoriDeru::Preset preset(std::max<std::int64_t>(rows, 1), std::max<std::int64_t>(cols, 1), 0, 0);
        applyOn(grid, preset, targets);
    }
    c_.rebuildStatusMenu();
}

} // namespace tilmora
