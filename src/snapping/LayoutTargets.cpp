#include "snapping/LayoutTargets.hpp"

#include "platform/input/NSEvent.hpp"
#include "snapping/PresetActivation.hpp"
#include "snapping/RoriDeru.hpp"
#include "windows/ScreenIdentity.hpp"

#include <cstdint>
#include <set>

namespace tilmora::LayoutTargets {

namespace {

std::optional<platform::NSScreen> targetWindowScreen(RoriDeru& grid) {
    const auto window = grid.frontmostWindowKeyAndRect();
    if (!window) return std::nullopt;
    return RoriDeru::screenForRect(window->rect);
}

std::optional<platform::NSScreen> screenUnderPointer(const std::vector<platform::NSScreen>& screens) {
    const platform::CGPoint pointer = platform::NSEvent::mouseLocation();
    for (const auto& screen : screens) {
        if (screen.frame().contains(pointer)) return screen;
    }
    return std::nullopt;
}

/// The pointer, main-screen and first-screen steps shared by both choices.
std::optional<platform::NSScreen> fallbackScreen(const std::vector<platform::NSScreen>& screens) {
    if (auto screen = screenUnderPointer(screens)) return screen;
    if (auto screen = platform::NSScreen::main()) return screen;
    if (!screens.empty()) return screens.front();
    return std::nullopt;
}

} // namespace

std::optional<platform::NSScreen> preferredScreen(RoriDeru& grid) {
    if (auto screen = targetWindowScreen(grid)) return screen;
    return fallbackScreen(platform::NSScreen::screens());
}

std::vector<platform::NSScreen> targetScreens(RoriDeru& grid,
                                              const std::optional<platform::NSScreen>& preferred,
                                              const std::optional<Rect>& focusRect, bool forceAll) {
    auto screens = platform::NSScreen::screens();
    if (forceAll || RoriDeru::layoutAppliesToAllScreens()) return screens;
    std::optional<platform::NSScreen> target = preferred;
    if (!target && focusRect) target = RoriDeru::screenForRect(*focusRect);
    if (!target) target = targetWindowScreen(grid);
    if (!target) target = fallbackScreen(screens);
    if (!target) return {};
    return {*target};
}

void applyScopePreference(RoriDeru& grid, const std::optional<platform::NSScreen>& preferred) {
    grid.migrateRectSelectionsForScopeChange(preferred);

    const auto targets = targetScreens(grid, preferred, std::nullopt, false);
    std::set<std::uint32_t> targetNumbers;
    for (const auto& screen : targets) {
        if (const auto display = tlm_displayID(screen)) targetNumbers.insert(*display);
    }

    // Collect first: hiding an overlay erases it from the map.
    std::vector<std::uint32_t> retired;
    for (const auto& [display, overlay] : grid.overlays) {
        if (!targetNumbers.count(display)) retired.push_back(display);
    }
    const auto screens = platform::NSScreen::screens();
    for (const std::uint32_t display : retired) {
        std::optional<platform::NSScreen> screen;
        for (const auto& candidate : screens) {
            if (tlm_displayID(candidate) == display) {
                screen = candidate;
                break;
            }
        }
        if (screen) {
            grid.hideOverlay(*screen, true);
            continue;
        }
        const auto it = grid.overlays.find(display);
        if (it == grid.overlays.end()) continue;
        const auto overlay = it->second;
        grid.overlays.erase(it);
        if (overlay) overlay->tearDown();
        grid.activePresets.erase(display);
    }

    if (!grid.shouldMarkGridPresetInMenu() && grid.activePresets.empty()) return;
    for (const auto& screen : targets) {
        const auto display = tlm_displayID(screen);
        const auto key = PresetActivation::displayKey(screen);
        if (!display || !key || !grid.enabledSnapDisplayKeys.count(*key)) continue;
        const auto active = grid.activePresets.find(*display);
        if (active == grid.activePresets.end()) continue;
        const RoriDeru::Preset preset = active->second;
        grid.applyPreset(preset, screen, false, false);
    }
}

} // namespace tilmora::LayoutTargets
