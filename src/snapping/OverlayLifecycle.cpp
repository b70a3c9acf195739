#include "snapping/OverlayLifecycle.hpp"

#include "platform/desktop/NSGeometry.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/foundation/Text.hpp"
#include "snapping/DragMonitors.hpp"
#include "snapping/GridLayout.hpp"
#include "snapping/PresetActivation.hpp"
#include "snapping/PresetMarking.hpp"
#include "snapping/RectSelection.hpp"
#include "snapping/SnapDefaults.hpp"
#include "snapping/SnapGridSeam.hpp"
#include "snapping/SnapLog.hpp"
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

namespace tilmora {

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

/// The screen that has `display` as its number now; none when the display is gone.
std::optional<platform::NSScreen> screenWithNumber(std::uint32_t display) {
    for (const auto& screen : platform::NSScreen::screens()) {
        if (tlm_displayID(screen) == display) return screen;
    }
    return std::nullopt;
}

template <class Map>
std::optional<typename Map::mapped_type> entry(const Map& map, std::uint32_t display) {
    const auto it = map.find(display);
    if (it == map.end()) return std::nullopt;
    return it->second;
}

} // namespace

OverlayLifecycle::OverlayLifecycle(SnapGridSeam& seam, DragMonitors& monitors,
                                   const PresetActivation& activation, const PresetMarking& marking,
                                   const RectSelection& selection)
    : seam_(seam)
    , monitors_(monitors)
    , activation_(activation)
    , marking_(marking)
    , selection_(selection)
    , lifetime_(std::make_shared<OverlayLifecycle*>(this)) {}

bool OverlayLifecycle::snappingActivated(const platform::NSScreen& screen) const {
    return activation_.isActivated(screen);
}

void OverlayLifecycle::logShown(const platform::NSScreen& screen, std::uint32_t display,
                                const GridPreset& preset) const {
    if (!TLog::verbose()) return;
    TLog::log("TILING", "Show overlay on " + screen.localizedName() + " (id=" + std::to_string(display) +
                            ") preset=" + std::to_string(preset.rows) + "x" + std::to_string(preset.cols) +
                            " gutter=" + wholeText(preset.gutter) + " padding=" + wholeText(preset.padding) +
                            ")");
    TLog::log("TILING", "  Screen.frame=" + screen.frame().description() +
                            " visibleFrame=" + screen.visibleFrame().description() +
                            " scale=" + platform::Text::doubleDescription(screen.backingScaleFactor()));
    const auto shown = tiles(screen, preset);
    TLog::log("TILING", "  Tiles (" + std::to_string(shown.size()) + "):");
    for (std::size_t i = 0; i < shown.size(); ++i) {
        char number[32];
        std::snprintf(number, sizeof number, "%02zu", i);
        TLog::log("TILING",
                  "    [" + std::string(number) + "] " + platform::NSStringFromRect(toCGRect(shown[i])));
    }
}

void OverlayLifecycle::show(const platform::NSScreen& screen, const GridPreset& preset, bool force,
                            bool markActive, const std::optional<PresetEdges>& customEdges) {
    if (!force && !snappingActivated(screen)) {
        SnapLog::logSnapState("Skip overlay on " + screen.localizedName() + " — snapping not activated");
        return;
    }
    const auto display = tlm_displayID(screen);
    if (!display) return;
    if (SnapDefaults::overlayDebug()) {
        SnapLog::olog("showOverlay screen=" + screen.localizedName() + " sid=" + std::to_string(*display) +
                      " preset=" + std::to_string(preset.rows) + "x" + std::to_string(preset.cols) +
                      " markActive=" + boolText(markActive) + " force=" + boolText(force));
    }

    std::shared_ptr<OverlayWindow> shown = overlay(*display);
    if (shown) {
        shown->setFrame(screen.frame(), true);
        shown->updateForScreen(screen);
    } else {
        shown = std::make_shared<SystemOverlayWindow>(screen);
        overlays_[*display] = shown;
    }

    shown->setGrid(std::max<std::int64_t>(preset.rows, 1), std::max<std::int64_t>(preset.cols, 1),
                   std::max(preset.gutter, 0.0));
    shown->setNeedsLayout();
    // A chosen snap kind on the display hides the grid; a drag neither forced nor marked shows none.
    if (force || marking_.inMenu())
        shown->setGridOpacity(selection_.applies(screen) ? 0.0 : 1.0);
    else
        shown->setGridOpacity(0);
    shown->hideHighlight();
    if (!debugEnabled_) shown->clearDebug();

    if (customEdges) customPresetEdges_[*display] = *customEdges;
    if (markActive) {
        activePresets_[*display] = preset;
        transientPresets_.erase(*display);
    } else {
        transientPresets_[*display] = preset;
    }

    shown->present();
    platform::DispatchQueue::main().async([weakOverlay = std::weak_ptr<OverlayWindow>(shown)] {
        if (const auto alive = weakOverlay.lock()) alive->orderFrontRegardless();
    });

    logShown(screen, *display, preset);
    monitors_.startIfNeeded();
}

void OverlayLifecycle::showOnAllDisplays(const GridPreset& preset) {
    const double opacity = marking_.inMenu() ? 1.0 : 0.0;
    for (const auto& screen : platform::NSScreen::screens()) {
        if (!snappingActivated(screen)) {
            SnapLog::logSnapState("Skip overlay-on-all for " + screen.localizedName() +
                                  " — snapping not activated");
            continue;
        }
        seam_.showOverlay(screen, preset, true, true, std::nullopt);
        if (const auto display = tlm_displayID(screen)) {
            if (const auto shown = overlay(*display)) shown->setGridOpacity(opacity);
        }
    }
    for (const auto& [display, shown] : overlays_) {
        if (shown) shown->present();
    }
    platform::DispatchQueue::main().async([handle = std::weak_ptr<OverlayLifecycle*>(lifetime_)] {
        const auto alive = handle.lock();
        if (!alive) return;
        for (const auto& [display, shown] : (*alive)->overlays_) {
            if (shown) shown->orderFrontRegardless();
        }
    });
}

void OverlayLifecycle::prune(const std::set<std::uint32_t>& keeping) {
    if (keeping.empty()) return;
    std::vector<std::uint32_t> retired;
    for (const auto& [display, shown] : overlays_) {
        if (!keeping.count(display)) retired.push_back(display);
    }
    for (const auto display : retired) {
        if (const auto screen = screenWithNumber(display)) {
            seam_.hideOverlay(*screen, false);
            continue;
        }
        // The display is gone: no screen to hide on, but its window must not stay on screen.
        const auto it = overlays_.find(display);
        if (it == overlays_.end()) continue;
        const auto gone = it->second;
        overlays_.erase(it);
        forgetPresets(display);
        if (gone) gone->tearDown();
    }
}

void OverlayLifecycle::pruneTransientPresets(const std::set<std::uint32_t>& keeping) {
    if (keeping.empty()) return;
    std::erase_if(transientPresets_, [&](const auto& item) { return !keeping.count(item.first); });
}

void OverlayLifecycle::hide(const platform::NSScreen& screen, bool clearPreset) {
    const auto display = tlm_displayID(screen);
    if (!display) return;
    const auto it = overlays_.find(*display);
    if (it == overlays_.end()) return;
    const auto retired = it->second;
    overlays_.erase(it);
    if (retired) retired->tearDown();
    if (clearPreset) activePresets_.erase(*display);
    transientPresets_.erase(*display);
    customPresetEdges_.erase(*display);
    TLog::log("TILING",
              "Hide overlay on " + screen.localizedName() + " (id=" + std::to_string(*display) + ")");
}

void OverlayLifecycle::hideAll(bool clearPresets) {
    // Take the map first, so nothing reached from a teardown sees a half-emptied map.
    for (const auto& [display, retired] : takeOverlays()) {
        if (retired) retired->tearDown();
    }
    if (clearPresets) {
        customPresetEdges_.clear();
        activePresets_.clear();
    }
    transientPresets_.clear();
    TLog::log("TILING", "Hide all overlays (monitoring stays active)");
}

void OverlayLifecycle::retireDeparted(std::uint32_t display) {
    const auto it = overlays_.find(display);
    if (it == overlays_.end()) return;
    const auto retired = it->second;
    overlays_.erase(it);
    if (retired) retired->tearDown();
    activePresets_.erase(display);
}

OverlayLifecycle::Overlays OverlayLifecycle::takeOverlays() {
    Overlays taken = std::move(overlays_);
    overlays_.clear();
    return taken;
}

void OverlayLifecycle::reframeAll() {
    for (const auto& screen : platform::NSScreen::screens()) {
        const auto number = screenNumberValue(screen);
        if (!number) continue;
        const auto shown = overlay(*number);
        if (!shown) continue;
        shown->setFrame(screen.frame(), true);
        shown->updateForScreen(screen);
        shown->orderFrontRegardless();
    }
}

void OverlayLifecycle::setGridOpacityAll(double opacity) {
    for (const auto& [display, shown] : overlays_) {
        if (shown) shown->setGridOpacity(opacity);
    }
}

void OverlayLifecycle::forgetPresets(std::uint32_t display) {
    activePresets_.erase(display);
    transientPresets_.erase(display);
    customPresetEdges_.erase(display);
}

void OverlayLifecycle::forgetAllPresets() {
    activePresets_.clear();
    transientPresets_.clear();
    customPresetEdges_.clear();
}

std::vector<Rect> OverlayLifecycle::tiles(const Rect& visible, double scale,
                                          std::optional<std::uint32_t> display,
                                          const GridPreset& preset) const {
    const PresetEdges* edges = nullptr;
    if (display) {
        const auto it = customPresetEdges_.find(*display);
        if (it != customPresetEdges_.end()) edges = &it->second;
    }
    return GridLayout::tiles(visible, scale, edges, preset);
}

std::vector<Rect> OverlayLifecycle::tiles(const platform::NSScreen& screen, const GridPreset& preset) const {
    return tiles(toRect(screen.visibleFrame()), screen.backingScaleFactor(), tlm_displayID(screen), preset);
}

void OverlayLifecycle::setDebugEnabled(bool enabled) {
    debugEnabled_ = enabled;
    if (enabled) return;
    for (const auto& [display, shown] : overlays_) {
        if (shown) shown->clearDebug();
    }
}

std::shared_ptr<OverlayWindow> OverlayLifecycle::overlay(std::uint32_t display) const {
    const auto it = overlays_.find(display);
    return it == overlays_.end() ? nullptr : it->second;
}

std::optional<GridPreset> OverlayLifecycle::activePreset(std::uint32_t display) const {
    return entry(activePresets_, display);
}

std::optional<GridPreset> OverlayLifecycle::transientPreset(std::uint32_t display) const {
    return entry(transientPresets_, display);
}

} // namespace tilmora
