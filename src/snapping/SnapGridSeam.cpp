#include "snapping/SnapGridSeam.hpp"

#include "snapping/OverlayLifecycle.hpp"

namespace tilmora {

void SnapGridSeam::showOverlay(const platform::NSScreen& screen, const GridPreset& preset, bool force,
                               bool markActive, const std::optional<PresetEdges>& customEdges) {
    overlays_.show(screen, preset, force, markActive, customEdges);
}

void SnapGridSeam::hideOverlay(const platform::NSScreen& screen, bool clearPreset) {
    overlays_.hide(screen, clearPreset);
}

void SnapGridSeam::hideAll(bool clearPresets) {
    overlays_.hideAll(clearPresets);
}

std::optional<TargetWindow::KeyAndRect> SnapGridSeam::frontmostWindowKeyAndRect() {
    return TargetWindow::keyAndRect(applications_);
}

} // namespace tilmora
