#include "snapping/PresetMarking.hpp"

#include "snapping/RoriDeru.hpp"
#include "windows/ScreenIdentity.hpp"

namespace tilmora {

namespace {

/// The preset to mark for a display: its active one, else its stored one.
GridPreset presetToMark(const RoriDeru& grid, std::uint32_t display, const platform::NSScreen& screen) {
    const auto active = grid.activePresets.find(display);
    if (active != grid.activePresets.end()) return active->second;
    return grid.loadPreset(screen);
}

} // namespace

PresetMarking::PresetMarking(RoriDeru& grid)
    : grid_(grid) {}

void PresetMarking::setMark(bool on, const std::optional<platform::NSScreen>& screen) {
    const bool allDisplays = RoriDeru::layoutAppliesToAllScreens();
    if (on) {
        const auto target = screen ? screen : grid_.preferredScreenForSelection();
        const auto display = target ? tlm_displayID(*target) : std::nullopt;
        if (allDisplays) {
            if (!display) {
                state_.allDisplays.reset();
                state_.inMenu = false;
                return;
            }
            state_.allDisplays = presetToMark(grid_, *display, *target);
            state_.inMenu = true;
            return;
        }
        if (!display) return;
        state_.byDisplay[*display] = presetToMark(grid_, *display, *target);
        state_.inMenu = true;
        return;
    }

    if (allDisplays) {
        state_.allDisplays.reset();
        state_.inMenu = false;
        grid_.hideAll(true);
        return;
    }
    const auto display = screen ? tlm_displayID(*screen) : std::nullopt;
    if (!display) {
        clear(true);
        return;
    }
    switchDisplayOff(*display, *screen);
}

void PresetMarking::switchOff(const std::vector<platform::NSScreen>& targets) {
    if (RoriDeru::layoutAppliesToAllScreens()) {
        state_.allDisplays.reset();
        state_.inMenu = false;
        grid_.hideAll(true);
        return;
    }
    for (const auto& target : targets) {
        const auto display = tlm_displayID(target);
        if (!display) {
            clear(true);
            continue;
        }
        switchDisplayOff(*display, target);
    }
}

void PresetMarking::switchDisplayOff(std::uint32_t display, const platform::NSScreen& screen) {
    state_.byDisplay.erase(display);
    grid_.activePresets.erase(display);
    grid_.transientPresets.erase(display);
    grid_.customPresetEdges.erase(display);
    grid_.hideOverlay(screen, true);
    state_.inMenu = !state_.byDisplay.empty();
}

bool PresetMarking::shouldMark(const GridPreset& preset, const std::optional<platform::NSScreen>& screen) const {
    if (!state_.inMenu) return false;
    if (RoriDeru::layoutAppliesToAllScreens()) return state_.allDisplays && *state_.allDisplays == preset;
    const auto display = screen ? tlm_displayID(*screen) : std::nullopt;
    if (!display) return false;
    const auto it = state_.byDisplay.find(*display);
    return it != state_.byDisplay.end() && it->second == preset;
}

std::optional<GridPreset> PresetMarking::marked() const {
    if (RoriDeru::layoutAppliesToAllScreens()) return state_.allDisplays;
    if (state_.byDisplay.empty()) return std::nullopt;
    return state_.byDisplay.begin()->second;
}

void PresetMarking::clear(bool removeOverlays) {
    state_ = State{};
    grid_.activePresets.clear();
    grid_.transientPresets.clear();
    grid_.customPresetEdges.clear();
    if (!removeOverlays) return;
    // Take the map first, so nothing reached from a teardown sees a half-emptied map.
    const auto overlays = std::move(grid_.overlays);
    grid_.overlays.clear();
    for (const auto& [display, overlay] : overlays) {
        if (overlay) overlay->tearDown();
    }
}

bool PresetMarking::consumeSuppressSelection() {
    const bool suppressed = suppressSelection_;
    suppressSelection_ = false;
    return suppressed;
}

} // namespace tilmora
