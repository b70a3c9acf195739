#pragma once

#include "model/Rect.hpp"
#include "platform/desktop/NSScreen.hpp"

#include <optional>
#include <vector>

namespace tilmora {

class OverlayLifecycle;
class PresetActivation;
class PresetMarking;
class RectSelection;
class SnapGridSeam;

/// The screens that a selection or a layout command targets, and the change of the layout scope
/// (`settings::gridAllDisplays`, read at every call). Reads the screen list, the pointer and the target
/// window (through the seam's `frontmostWindowKeyAndRect`) anew on every call; holds no
/// state of its own. Rectangles are global coordinates, points, y up. Main thread.
class LayoutTargets {
public:
    /// Targets that read the target window and hide overlays through `seam`; a scope change works on
    /// the selection, the overlays, the activated displays and the menu mark given.
    LayoutTargets(SnapGridSeam& seam, RectSelection& selection, OverlayLifecycle& overlays,
                  PresetActivation& activation, const PresetMarking& marking);
    LayoutTargets(const LayoutTargets&) = delete;
    LayoutTargets& operator=(const LayoutTargets&) = delete;

    /// The screen of the target window (`screenForRect` of its frame), else the first screen whose
    /// frame holds the pointer, else the main screen, else the first screen; none without screens.
    std::optional<platform::NSScreen> preferredScreen();

    /// Every screen in list order with `forceAll` or in all-displays scope; otherwise a list of one
    /// screen, the first of: `preferred`, `screenForRect(focusRect)`, the target window's screen, the
    /// screen under the pointer, the main screen, the first screen; empty without screens.
    std::vector<platform::NSScreen> targetScreens(const std::optional<platform::NSScreen>& preferred,
                                                  const std::optional<Rect>& focusRect, bool forceAll);

    /// After the user changed the layout scope, in this order: migrates the rect selection; retires
    /// the overlay of every display number that is not a target (a display still connected through
    /// the seam's `hideOverlay(screen, clearPreset: true)`; a display that is gone has its overlay
    /// torn down and forgotten with its active preset); then, when a preset is marked in the menu or
    /// any preset is active, applies each targeted activated display's active preset again (no flash, no
    /// activation). Overlay numbers are collected before any is retired.
    void applyScopePreference(const std::optional<platform::NSScreen>& preferred);

private:
    std::optional<platform::NSScreen> targetWindowScreen();

    SnapGridSeam& seam_;
    RectSelection& selection_;
    OverlayLifecycle& overlays_;
    PresetActivation& activation_;
    const PresetMarking& marking_;
};

} // namespace tilmora
