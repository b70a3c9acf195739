#pragma once

#include "platform/desktop/NSScreen.hpp"
#include "snapping/GridPreset.hpp"
#include "snapping/PresetEdges.hpp"
#include "snapping/TargetWindow.hpp"

#include <optional>

namespace tilmora {

class ActiveApplicationTracker;
class OverlayLifecycle;

/// The calls through which the parts of the snap grid show and hide overlays and read the target
/// window: the one place where one part asks these of another. Each call goes straight to the part
/// that does the work (`OverlayLifecycle`, `TargetWindow`); a test puts a derived seam in its place
/// (see `RoriDeru`'s protected constructor) to see, or change, every such call, whichever part makes
/// it. The snap grid owns its seam. Main thread only.
class SnapGridSeam {
public:
    /// A seam over `overlays`, reading the target window with `applications`' remembered
    /// application. Neither is used before the first call.
    SnapGridSeam(OverlayLifecycle& overlays, ActiveApplicationTracker& applications)
        : overlays_(overlays)
        , applications_(applications) {}
    virtual ~SnapGridSeam() = default;
    SnapGridSeam(const SnapGridSeam&) = delete;
    SnapGridSeam& operator=(const SnapGridSeam&) = delete;

    /// Creates or updates the overlay of `screen` (`OverlayLifecycle::show`).
    virtual void showOverlay(const platform::NSScreen& screen, const GridPreset& preset, bool force,
                             bool markActive, const std::optional<PresetEdges>& customEdges);
    /// Retires the overlay of `screen` (`OverlayLifecycle::hide`).
    virtual void hideOverlay(const platform::NSScreen& screen, bool clearPreset);
    /// Retires every overlay (`OverlayLifecycle::hideAll`).
    virtual void hideAll(bool clearPresets);
    /// The key and global frame of the target application's standard movable window
    /// (`TargetWindow::keyAndRect`).
    virtual std::optional<TargetWindow::KeyAndRect> frontmostWindowKeyAndRect();

private:
    OverlayLifecycle& overlays_;
    ActiveApplicationTracker& applications_;
};

} // namespace tilmora
