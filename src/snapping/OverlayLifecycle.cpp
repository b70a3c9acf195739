#include "snapping/OverlayLifecycle.hpp"

#include "platform/desktop/NSGeometry.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/foundation/Text.hpp"
#include "snapping/PresetActivation.hpp"
#include "snapping/RoriDeru.hpp"
#include "snapping/SnapDefaults.hpp"
#include "snapping/SystemOverlayWindow.hpp"
#include "snapping/TLog.hpp"
#include "windows/GeometryBridge.hpp"
#include "windows/ScreenIdentity.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace tilmora::OverlayLifecycle {

namespace {

const char* boolText(bool value) {
    return value ? "true" : "false";
}

/// A gutter or padding as a whole number, the fraction dropped ("2" for 2.7).
std::string wholeText(double value) {
    if (!std::isfinite(value)) return platform::Text::doubleDescription(value);
    const double truncated = std::trunc(value);
    if (std::abs(truncated) >= 9.2e18) return platform::Text::doubleDescription(truncated);
    return std::to_string(static_cast<long long>(truncated));
}

bool snappingActivated(const RoriDeru& grid, const platform::NSScreen& screen) {
    const auto key = PresetActivation::displayKey(screen);
    return key && grid.enabledSnapDisplayKeys.count(*key) > 0;
}

/// The screen that has `display` as its number now; none when the display is gone.
std::optional<platform::NSScreen> screenWithNumber(std::uint32_t display) {
    for (const auto& screen : platform::NSScreen::screens()) {
        if (tlm_displayID(screen) == display) return screen;
    }
    return std::nullopt;
}

void logShown(RoriDeru& grid, const platform::NSScreen& screen, std::uint32_t display,
              const GridPreset& preset) {
    if (!TLog::verbose()) return;
    TLog::log("TILING", "Show overlay on " + screen.localizedName() + " (id=" + std::to_string(display) +
                            ") preset=" + std::to_string(preset.rows) + "x" + std::to_string(preset.cols) +
                            " gutter=" + wholeText(preset.gutter) + " padding=" + wholeText(preset.padding) +
                            ")");
    TLog::log("TILING", "  Screen.frame=" + screen.frame().description() +
                            " visibleFrame=" + screen.visibleFrame().description() +
                            " scale=" + platform::Text::doubleDescription(screen.backingScaleFactor()));
    const auto tiles = grid.tiles(screen, preset);
    TLog::log("TILING", "  Tiles (" + std::to_string(tiles.size()) + "):");
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        char number[32];
        std::snprintf(number, sizeof number, "%02zu", i);
        TLog::log("TILING",
                  "    [" + std::string(number) + "] " + platform::NSStringFromRect(toCGRect(tiles[i])));
    }
}

} // namespace

void show(RoriDeru& grid, const platform::NSScreen& screen, const GridPreset& preset, bool force,
          bool markActive, const std::optional<PresetEdges>& customEdges) {
    if (!force && !snappingActivated(grid, screen)) {
        RoriDeru::logSnapState("Skip overlay on " + screen.localizedName() + " — snapping not activated");
        return;
    }
    const auto display = tlm_displayID(screen);
    if (!display) return;
    if (SnapDefaults::overlayDebug()) {
        RoriDeru::olog("showOverlay screen=" + screen.localizedName() + " sid=" + std::to_string(*display) +
                       " preset=" + std::to_string(preset.rows) + "x" + std::to_string(preset.cols) +
                       " markActive=" + boolText(markActive) + " force=" + boolText(force));
    }

    std::shared_ptr<OverlayWindow> overlay;
    if (const auto it = grid.overlays.find(*display); it != grid.overlays.end() && it->second) {
        overlay = it->second;
        overlay->setFrame(screen.frame(), true);
        overlay->updateForScreen(screen);
    } else {
        overlay = std::make_shared<SystemOverlayWindow>(screen);
        grid.overlays[*display] = overlay;
    }

    overlay->setGrid(std::max<std::int64_t>(preset.rows, 1), std::max<std::int64_t>(preset.cols, 1),
                     std::max(preset.gutter, 0.0));
    overlay->setNeedsLayout();
    // A chosen snap kind on the display hides the grid; a drag neither forced nor marked shows none.
    if (force || grid.shouldMarkGridPresetInMenu())
        overlay->setGridOpacity(grid.selectedKindApplies(screen) ? 0.0 : 1.0);
    else
        overlay->setGridOpacity(0);
    overlay->hideHighlight();
    if (!grid.debugEnabled) overlay->clearDebug();

    if (customEdges) grid.customPresetEdges[*display] = *customEdges;
    if (markActive) {
        grid.activePresets[*display] = preset;
        grid.transientPresets.erase(*display);
    } else {
        grid.transientPresets[*display] = preset;
    }

    overlay->present();
    platform::DispatchQueue::main().async([weakOverlay = std::weak_ptr<OverlayWindow>(overlay)] {
        if (const auto alive = weakOverlay.lock()) alive->orderFrontRegardless();
    });

    logShown(grid, screen, *display, preset);
    grid.startMonitoringIfNeeded();
}

void showOnAllDisplays(RoriDeru& grid, const GridPreset& preset) {
    const double opacity = grid.shouldMarkGridPresetInMenu() ? 1.0 : 0.0;
    for (const auto& screen : platform::NSScreen::screens()) {
        if (!snappingActivated(grid, screen)) {
            RoriDeru::logSnapState("Skip overlay-on-all for " + screen.localizedName() +
                                   " — snapping not activated");
            continue;
        }
        grid.showOverlay(screen, preset, true, true, std::nullopt);
        if (const auto display = tlm_displayID(screen)) {
            if (const auto it = grid.overlays.find(*display); it != grid.overlays.end() && it->second)
                it->second->setGridOpacity(opacity);
        }
    }
    for (const auto& [display, overlay] : grid.overlays) {
        if (overlay) overlay->present();
    }
    platform::DispatchQueue::main().async([weakGrid = grid.weakHandle()] {
        const auto alive = weakGrid.lock();
        if (!alive) return;
        for (const auto& [display, overlay] : (*alive)->overlays) {
            if (overlay) overlay->orderFrontRegardless();
        }
    });
}

void prune(RoriDeru& grid, const std::set<std::uint32_t>& keeping) {
    if (keeping.empty()) return;
    std::vector<std::uint32_t> retired;
    for (const auto& [display, overlay] : grid.overlays) {
        if (!keeping.count(display)) retired.push_back(display);
    }
    for (const auto display : retired) {
        if (const auto screen = screenWithNumber(display)) {
            grid.hideOverlay(*screen, false);
            continue;
        }
        // The display is gone: no screen to hide on, but its window must not stay on screen.
        const auto it = grid.overlays.find(display);
        if (it == grid.overlays.end()) continue;
        const auto overlay = it->second;
        grid.overlays.erase(it);
        grid.transientPresets.erase(display);
        grid.activePresets.erase(display);
        grid.customPresetEdges.erase(display);
        if (overlay) overlay->tearDown();
    }
}

void pruneTransientPresets(RoriDeru& grid, const std::set<std::uint32_t>& keeping) {
    if (keeping.empty()) return;
    std::erase_if(grid.transientPresets, [&](const auto& entry) { return !keeping.count(entry.first); });
}

void hide(RoriDeru& grid, const platform::NSScreen& screen, bool clearPreset) {
    const auto display = tlm_displayID(screen);
    if (!display) return;
    const auto it = grid.overlays.find(*display);
    if (it == grid.overlays.end()) return;
    const auto overlay = it->second;
    grid.overlays.erase(it);
    if (overlay) overlay->tearDown();
    if (clearPreset) {
        grid.activePresets.erase(*display);
        grid.customPresetEdges.erase(*display);
    }
    grid.transientPresets.erase(*display);
    grid.customPresetEdges.erase(*display);
    TLog::log("TILING",
              "Hide overlay on " + screen.localizedName() + " (id=" + std::to_string(*display) + ")");
}

void hideAll(RoriDeru& grid, bool clearPresets) {
    // Take the map first, so nothing reached from a teardown sees a half-emptied map.
    const auto retired = std::move(grid.overlays);
    grid.overlays.clear();
    for (const auto& [display, overlay] : retired) {
        if (overlay) overlay->tearDown();
    }
    if (clearPresets) {
        grid.customPresetEdges.clear();
        grid.activePresets.clear();
    }
    grid.transientPresets.clear();
    TLog::log("TILING", "Hide all overlays (monitoring stays active)");
}

} // namespace tilmora::OverlayLifecycle
