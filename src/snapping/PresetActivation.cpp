#include "snapping/PresetActivation.hpp"

#include "model/DisplaySignature.hpp"
#include "model/SystemScreenSource.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "snapping/RoriDeru.hpp"
#include "snapping/SnapLog.hpp"
#include "windows/ScreenIdentity.hpp"

#include <algorithm>

namespace tilmora::PresetActivation {

std::optional<std::string> displayKey(const platform::NSScreen& screen) {
    const auto signature = DisplaySignature::fromScreen(SystemScreenSource::info(screen));
    if (!signature) return std::nullopt;
    return signature->persistenceKeySegment();
}

void activate(RoriDeru& grid, const platform::NSScreen& screen) {
    const auto key = displayKey(screen);
    if (!key) return;
    grid.enabledSnapDisplayKeys.insert(*key);
    SnapLog::logSnapState("Activated snapping on " + screen.localizedName() + " [key=" + *key + "]");
}

void apply(RoriDeru& grid, const GridPreset& preset, const platform::NSScreen& screen, bool flash,
           bool activate) {
    const auto display = tlm_displayID(screen);
    if (!display) return;
    if (activate) {
        grid.activateSnap(screen);
    } else {
        const auto key = displayKey(screen);
        if (!key || !grid.enabledSnapDisplayKeys.count(*key)) {
            SnapLog::logSnapState("Skip preset apply on " + screen.localizedName() +
                                  " — snapping not activated");
            return;
        }
    }

    grid.savePreset(preset, screen);
    grid.activePresets[*display] = preset;

    if (const auto it = grid.overlays.find(*display); it != grid.overlays.end() && it->second) {
        OverlayWindow& overlay = *it->second;
        overlay.setFrame(screen.frame(), true);
        overlay.updateForScreen(screen);
        overlay.setGrid(std::max<std::int64_t>(preset.rows, 1), std::max<std::int64_t>(preset.cols, 1),
                        std::max(preset.gutter, 0.0));
        overlay.setNeedsLayout();
        if (flash) overlay.setGridOpacity(1);
        return;
    }

    grid.showOverlay(screen, preset, activate, true, std::nullopt);
    if (flash) {
        if (const auto it = grid.overlays.find(*display); it != grid.overlays.end() && it->second)
            it->second->setGridOpacity(1);
    }

    if (grid.dragSession().isDragging()) return;
    platform::DispatchQueue::main().asyncAfter(platform::DispatchTime::now() + flashSeconds,
                                               [weakGrid = grid.weakHandle(), screen] {
                                                   const auto alive = weakGrid.lock();
                                                   if (!alive) return;
                                                   (*alive)->hideOverlay(screen, false);
                                               });
}

} // namespace tilmora::PresetActivation
