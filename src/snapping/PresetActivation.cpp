#include "snapping/PresetActivation.hpp"

#include "model/DisplaySignature.hpp"
#include "model/SystemScreenSource.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "snapping/DragSession.hpp"
#include "snapping/GridPresetStorage.hpp"
#include "snapping/OverlayLifecycle.hpp"
#include "snapping/SnapGridSeam.hpp"
#include "snapping/SnapLog.hpp"
#include "windows/ScreenIdentity.hpp"

#include <algorithm>

namespace tilmora {

PresetActivation::PresetActivation(SnapGridSeam& seam, OverlayLifecycle& overlays, DragSession& session)
    : seam_(seam)
    , overlays_(overlays)
    , session_(session)
    , lifetime_(std::make_shared<PresetActivation*>(this)) {}

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

    seam_.showOverlay(screen, preset, activateFirst, true, std::nullopt);
    if (flash) {
        if (const auto shown = overlays_.overlay(*display)) shown->setGridOpacity(1);
    }

    if (session_.isDragging()) return;
    platform::DispatchQueue::main().asyncAfter(
        platform::DispatchTime::now() + flashSeconds,
        [handle = std::weak_ptr<PresetActivation*>(lifetime_), screen] {
            if (const auto alive = handle.lock()) (*alive)->endFlash(screen);
        });
}

void PresetActivation::endFlash(const platform::NSScreen& screen) {
    if (!session_.isDragging()) {
        seam_.hideOverlay(screen, false);
        return;
    }
    // The drag works over this overlay (its ticks and its drop read it): it goes when the drag
    // ends, unless that end removed it already.
    session_.whenDragEnds([handle = std::weak_ptr<PresetActivation*>(lifetime_), screen] {
        const auto alive = handle.lock();
        if (!alive) return;
        const auto display = tlm_displayID(screen);
        if (display && (*alive)->overlays_.overlay(*display)) (*alive)->seam_.hideOverlay(screen, false);
    });
}

} // namespace tilmora
