#include "snapping/PresetActivation.hpp"

#include "model/DisplaySignature.hpp"
#include "model/SystemScreenSource.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "snapping/DragSession.hpp"
#include "snapping/GridPresetStorage.hpp"
#include "snapping/OverlayLifecycle.hpp"
#include "snapping/RoriDeru.hpp"
#include "snapping/SnapLog.hpp"
#include "windows/ScreenIdentity.hpp"

#include <algorithm>

namespace tilmora {

PresetActivation::PresetActivation(RoriDeru& grid, OverlayLifecycle& overlays, const DragSession& session)
    : grid_(grid)
    , overlays_(overlays)
    , session_(session) {}

std::optional<std::string> PresetActivation::displayKey(const platform::NSScreen& screen) {
    const auto signature = DisplaySignature::fromScreen(SystemScreenSource::info(screen));
    if (!signature) return std::nullopt;
    return signature->persistenceKeySegment();
}

void PresetActivation::activate(const platform::NSScreen& screen) {
    const auto key = displayKey(screen);
    if (!key) return;
    enabledSnapDisplayKeys_.insert(*key);
    SnapLog::logSnapState("Activated snapping on " + screen.localizedName() + " [key=" + *key + "]");
}

bool PresetActivation::isActivated(const platform::NSScreen& screen) const {
    const auto key = displayKey(screen);
    return key && enabledSnapDisplayKeys_.count(*key) > 0;
}

void PresetActivation::apply(const GridPreset& preset, const platform::NSScreen& screen, bool flash,
                             bool activateFirst) {
    const auto display = tlm_displayID(screen);
    if (!display) return;
    if (activateFirst) {
        activate(screen);
    } else if (!isActivated(screen)) {
        SnapLog::logSnapState("Skip preset apply on " + screen.localizedName() + " — snapping not activated");
        return;
    }

    GridPresetStorage::save(preset, display);
    overlays_.setActivePreset(*display, preset);

    if (const auto shown = overlays_.overlay(*display)) {
        shown->setFrame(screen.frame(), true);
        shown->updateForScreen(screen);
        shown->setGrid(std::max<std::int64_t>(preset.rows, 1), std::max<std::int64_t>(preset.cols, 1),
                       std::max(preset.gutter, 0.0));
        shown->setNeedsLayout();
        if (flash) shown->setGridOpacity(1);
        return;
    }

    grid_.showOverlay(screen, preset, activateFirst, true, std::nullopt);
    if (flash) {
        if (const auto shown = overlays_.overlay(*display)) shown->setGridOpacity(1);
    }

    if (session_.isDragging()) return;
    platform::DispatchQueue::main().asyncAfter(platform::DispatchTime::now() + flashSeconds,
                                               [weakGrid = grid_.weakHandle(), screen] {
                                                   const auto alive = weakGrid.lock();
                                                   if (!alive) return;
                                                   (*alive)->hideOverlay(screen, false);
                                               });
}

} // namespace tilmora
