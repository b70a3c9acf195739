#pragma once

namespace tilmora {

/// The switches of drag snapping, as the snap grid holds them: copied from the settings when the
/// snap grid is made and changed afterwards only through its setters (nothing here writes the
/// user defaults).
struct SnapSwitches {
    /// Drag snapping is on (`settings::snappingEnabled`).
    bool snappingEnabled = true;
    /// Snap on release even without an overlay (`settings::magnetDragMode`).
    bool magnetMode = false;
    /// Hit-test with the pointer instead of the window centre (`settings::dragAssumeTileSize`).
    bool dragAssumeTileSize = true;
    /// Resize the window to the tile while dragging (`settings::liveResizeDuringDrag`).
    bool liveResizeDuringDrag = true;
    /// Drag snapping only while Option is held (`settings::dragRequireOption`).
    bool dragRequireOption = false;

    /// The switches as stored (or registered) in the standard user defaults, each a Boolean, any
    /// other kind of value counting as absent and giving the default above.
    static SnapSwitches fromDefaults();
};

} // namespace tilmora
