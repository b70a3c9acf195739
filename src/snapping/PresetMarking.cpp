#include "snapping/PresetMarking.hpp"

#include "snapping/RoriDeru.hpp"
#include "windows/ScreenIdentity.hpp"

namespace tilmora::PresetMarking {

namespace {

/// The preset to mark for a display: its active one, else its stored one.
GridPreset presetToMark(const RoriDeru& grid, std::uint32_t display, const platform::NSScreen& screen) {
    const auto active = grid.activePresets.find(display);
    if (active != grid.activePresets.end()) return active->second;
    return grid.loadPreset(screen);
}

} // namespace

void setMark(RoriDeru& grid, bool on, const std::optional<platform::NSScreen>& screen) {
    const bool allDisplays = RoriDeru::layoutAppliesToAllScreens();
    if (on) {
        const auto target = screen ? screen : grid.preferredScreenForSelection();
        const auto display = target ? tlm_displayID(*target) : std::nullopt;
        if (allDisplays) {
            if (!display) {
                grid.gridPresetMarkedPresetAllDisplays.reset();
                grid.markGridPresetInMenu = false;
                return;
            }
            grid.gridPresetMarkedPresetAllDisplays = presetToMark(grid, *display, *target);
            grid.markGridPresetInMenu = true;
            return;
        }
        if (!display) return;
        grid.gridPresetMarkedPresetsByDisplay[*display] = presetToMark(grid, *display, *target);
        grid.markGridPresetInMenu = true;
        return;
    }

    if (allDisplays) {
        grid.gridPresetMarkedPresetAllDisplays.reset();
        grid.markGridPresetInMenu = false;
        grid.hideAll(true);
        return;
    }
    const auto display = screen ? tlm_displayID(*screen) : std::nullopt;
    if (!display) {
        clear(grid, true);
        return;
    }
    grid.gridPresetMarkedPresetsByDisplay.erase(*display);
    grid.activePresets.erase(*display);
    grid.transientPresets.erase(*display);
    grid.customPresetEdges.erase(*display);
    grid.hideOverlay(*screen, true);
    grid.markGridPresetInMenu = !grid.gridPresetMarkedPresetsByDisplay.empty();
}

bool shouldMark(const RoriDeru& grid, const GridPreset& preset,
                const std::optional<platform::NSScreen>& screen) {
    if (!grid.markGridPresetInMenu) return false;
    if (RoriDeru::layoutAppliesToAllScreens())
        return grid.gridPresetMarkedPresetAllDisplays && *grid.gridPresetMarkedPresetAllDisplays == preset;
    const auto display = screen ? tlm_displayID(*screen) : std::nullopt;
    if (!display) return false;
    const auto it = grid.gridPresetMarkedPresetsByDisplay.find(*display);
    return it != grid.gridPresetMarkedPresetsByDisplay.end() && it->second == preset;
}

std::optional<GridPreset> marked(const RoriDeru& grid) {
    if (RoriDeru::layoutAppliesToAllScreens()) return grid.gridPresetMarkedPresetAllDisplays;
    if (grid.gridPresetMarkedPresetsByDisplay.empty()) return std::nullopt;
    return grid.gridPresetMarkedPresetsByDisplay.begin()->second;
}

void clear(RoriDeru& grid, bool removeOverlays) {
    grid.markGridPresetInMenu = false;
    grid.gridPresetMarkedPresetAllDisplays.reset();
    grid.gridPresetMarkedPresetsByDisplay.clear();
    grid.activePresets.clear();
    grid.transientPresets.clear();
    grid.customPresetEdges.clear();
    if (!removeOverlays) return;
    // Take the map first, so nothing reached from a teardown sees a half-emptied map.
    const auto overlays = std::move(grid.overlays);
    grid.overlays.clear();
    for (const auto& [display, overlay] : overlays) {
        if (overlay) overlay->tearDown();
    }
}

} // namespace tilmora::PresetMarking
