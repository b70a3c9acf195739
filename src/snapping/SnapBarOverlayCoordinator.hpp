#pragma once

#include "model/DisplayId.hpp"
#include "snapping/SnapBarOverlayPresenting.hpp"
#include "snapping/SnapBarOverlayViewModel.hpp"
#include "snapping/SnapBarOverlayWindow.hpp"

#include <memory>
#include <unordered_map>

namespace tilmora {

/// Owns the open preset-layout overlays, one per display, and is the presenter the tiling
/// controller drives. Each show makes a new window; each hide drops them all. Main thread only
/// (Debug builds check it: "SnapBarOverlayCoordinator::<call> must be called on the main thread").
/// Logs nothing.
class SnapBarOverlayCoordinator : public SnapBarOverlayPresenting {
public:
    /// The view model and window of one open overlay.
    struct Overlay {
        std::shared_ptr<SnapBarOverlayViewModel> vm;
        std::shared_ptr<SnapBarOverlayWindow> window;
    };

    /// Opens the overlay of `display` with `layout` and nothing highlighted, over the visible frame
    /// of the screen whose identifier text (`tlm_identifierString`: its display number in decimal,
    /// or its name and origin) equals the display's id, the first such screen of the screen list.
    /// Without such a screen nothing opens and `overlays` stays as it is. An overlay already open
    /// on that display is ordered out and replaced.
    void showOverlay(const DisplayDescriptor& display, const Layout& layout) override;
    /// Sets the highlighted tile of every open overlay (none clears it).
    void highlight(const std::optional<TileId>& tile) override;
    /// Orders every open overlay's window out and forgets them all.
    void hideOverlay() override;

    std::unordered_map<DisplayId, Overlay> overlays;
};

} // namespace tilmora
