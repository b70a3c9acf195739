#include "snapping/LayoutTargets.hpp"

#include "platform/input/NSEvent.hpp"
#include "snapping/OverlayLifecycle.hpp"
#include "snapping/PresetActivation.hpp"
#include "snapping/PresetMarking.hpp"
#include "snapping/RectSelection.hpp"
#include "snapping/SnapDefaults.hpp"
#include "snapping/SnapGridSeam.hpp"
#include "snapping/SnapScreens.hpp"
#include "windows/ScreenIdentity.hpp"

#include <cstdint>
#include <set>

namespace tilmora {

namespace {

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

LayoutTargets::LayoutTargets(SnapGridSeam& seam, RectSelection& selection, OverlayLifecycle& overlays,
                             PresetActivation& activation, const PresetMarking& marking)
    : seam_(seam)
    , selection_(selection)
    , overlays_(overlays)
    , activation_(activation)
    , marking_(marking) {}

std::optional<platform::NSScreen> LayoutTargets::targetWindowScreen() {
    const auto window = seam_.frontmostWindowKeyAndRect();
    if (!window) return std::nullopt;
    return SnapScreens::screenForRect(window->rect);
}

std::optional<platform::NSScreen> LayoutTargets::preferredScreen() {
    if (auto screen = targetWindowScreen()) return screen;
    return fallbackScreen(platform::NSScreen::screens());
}

std::vector<platform::NSScreen>
LayoutTargets::targetScreens(const std::optional<platform::NSScreen>& preferred,
                             const std::optional<Rect>& focusRect, bool forceAll) {
    auto screens = platform::NSScreen::screens();
    if (forceAll || SnapDefaults::layoutAppliesToAllScreens()) return screens;
    std::optional<platform::NSScreen> target = preferred;
    if (!target && focusRect) target = SnapScreens::screenForRect(*focusRect);
    if (!target) target = targetWindowScreen();
    if (!target) target = fallbackScreen(screens);
    if (!target) return {};
    return {*target};
}

void LayoutTargets::applyScopePreference(const std::optional<platform::NSScreen>& preferred) {
    selection_.migrate(preferred);

    const auto targets = targetScreens(preferred, std::nullopt, false);
    std::set<std::uint32_t> targetNumbers;
    for (const auto& screen : targets) {
        if (const auto display = tlm_displayID(screen)) targetNumbers.insert(*display);
    }

    // Collect first: hiding an overlay erases it from the map.
    std::vector<std::uint32_t> retired;
    for (const auto& [display, overlay] : overlays_.overlays()) {
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
            seam_.hideOverlay(*screen, true);
        } else {
            overlays_.retireDeparted(display);
        }
    }

    if (!marking_.inMenu() && overlays_.activePresets().empty()) return;
    for (const auto& screen : targets) {
        const auto display = tlm_displayID(screen);
        if (!display || !activation_.isActivated(screen)) continue;
        const auto active = overlays_.activePreset(*display);
        if (!active) continue;
        activation_.apply(*active, screen, false, false);
    }
}

} // namespace tilmora
