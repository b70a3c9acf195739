#pragma once

namespace tilmora {

class RoriDeru;

/// The snap grid's switches that turning snapping off reaches: the snapping flag, the drag
/// monitors, the menu's one-shot selection suppress flag, the selected snap kinds and the marked
/// grid presets. The snap grid itself is reached through `switchSnappingOff(RoriDeru&, …)`; the
/// preferences' view of the grid implements this interface. Main thread.
class SnappingSwitch {
public:
    virtual ~SnappingSwitch() = default;
    virtual void setSnappingEnabled(bool on) = 0;
    virtual void stopMonitoring() = 0;
    /// True: the next status-menu build shows no selected kind; false: that request is dropped.
    virtual void setSuppressMenuSelection(bool on) = 0;
    virtual void clearAllRectSelections() = 0;
    virtual void clearGridPresetMarking(bool removeOverlays) = 0;
};

/// What happens to the selected snap kinds and the marked grid presets when snapping goes off.
enum class SelectionOnSnappingOff {
    /// Left as they are (the self-test).
    kept,
    /// Cleared, the marks' overlays removed (quitting and termination).
    cleared,
    /// Cleared as above, after asking the next status-menu build to show no selection (the
    /// snapping toggle and the preferences' snapping switch).
    clearedWithoutMenuSelection,
};

/// Switches snapping off on `grid`, in this order: snapping disabled, drag monitoring stopped,
/// then `selection`'s steps. Nothing is stored in the user defaults and nothing is logged. Main
/// thread.
void switchSnappingOff(SnappingSwitch& grid, SelectionOnSnappingOff selection);
/// The same on the snap grid itself.
void switchSnappingOff(RoriDeru& grid, SelectionOnSnappingOff selection);

} // namespace tilmora
