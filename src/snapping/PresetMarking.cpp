#include "snapping/PresetMarking.hpp"

#include "snapping/GridPresetStorage.hpp"
#include "snapping/LayoutTargets.hpp"
#include "snapping/OverlayLifecycle.hpp"
#include "snapping/SnapDefaults.hpp"
#include "snapping/SnapGridSeam.hpp"
#include "windows/ScreenIdentity.hpp"

namespace tilmora {

namespace {

/// The preset to mark for a display: its active one, else its stored one.
GridPreset presetToMark(const OverlayLifecycle& overlays, std::uint32_t display) {
    if (const auto active = overlays.activePreset(display)) return *active;
    return GridPresetStorage::load(display);
}

} // namespace

PresetMarking::PresetMarking(SnapGridSeam& seam, LayoutTargets& targets, OverlayLifecycle& overlays)
    : seam_(seam)
    , targets_(targets)
    , overlays_(overlays) {}

void PresetMarking::setMark(bool on, const std::optional<platform::NSScreen>& screen) {
    const bool allDisplays = SnapDefaults::layoutAppliesToAllScreens();
    if (on) {
        const auto target = screen ? screen : targets_.preferredScreen();
        const auto display = target ? tlm_displayID(*target) : std::nullopt;
        if (allDisplays) {
            if (!display) {
                state_.allDisplays.reset();
                state_.inMenu = false;
                return;
            }
            state_.allDisplays = presetToMark(overlays_, *display);
            state_.inMenu = true;
            return;
        }
        if (!display) return;
        state_.byDisplay[*display] = presetToMark(overlays_, *display);
        state_.inMenu = true;
        return;
    }

    if (allDisplays) {
        state_.allDisplays.reset();
        state_.inMenu = false;
        seam_.hideAll(true);
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
    // In all-displays scope one switch-off unmarks and hides everything.
    if (SnapDefaults::layoutAppliesToAllScreens()) {
        setMark(false, std::nullopt);
        return;
    }
    for (const auto& target : targets) setMark(false, target);
}

void PresetMarking::switchDisplayOff(std::uint32_t display, const platform::NSScreen& screen) {
    state_.byDisplay.erase(display);
    overlays_.forgetPresets(display);
    seam_.hideOverlay(screen, true);
    state_.inMenu = !state_.byDisplay.empty();
}

bool PresetMarking::shouldMark(const GridPreset& preset,
                               const std::optional<platform::NSScreen>& screen) const {
    if (!state_.inMenu) return false;
    if (SnapDefaults::layoutAppliesToAllScreens()) return state_.allDisplays && *state_.allDisplays == preset;
    const auto display = screen ? tlm_displayID(*screen) : std::nullopt;
    if (!display) return false;
    const auto it = state_.byDisplay.find(*display);
    return it != state_.byDisplay.end() && it->second == preset;
}

std::optional<GridPreset> PresetMarking::marked() const {
    if (SnapDefaults::layoutAppliesToAllScreens()) return state_.allDisplays;
    if (state_.byDisplay.empty()) return std::nullopt;
    return state_.byDisplay.begin()->second;
}

void PresetMarking::clear(bool removeOverlays) {
    state_ = State{};
    overlays_.forgetAllPresets();
    if (!removeOverlays) return;
    // Take the map first, so nothing reached from a teardown sees a half-emptied map.
    for (const auto& [display, overlay] : overlays_.takeOverlays()) {
        if (overlay) overlay->tearDown();
    }
}

bool PresetMarking::consumeSuppressSelection() {
    const bool suppressed = suppressSelection_;
    suppressSelection_ = false;
    return suppressed;
}

} // namespace tilmora
