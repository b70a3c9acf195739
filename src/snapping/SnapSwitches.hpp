#pragma once

#include "model/Settings.hpp"

namespace tilmora {

/// The switches of drag snapping, as the snap grid holds them: copied from the settings when the
/// snap grid is made and changed afterwards only through its setters (nothing here writes the
/// user defaults).
struct SnapSwitches {
    /// Drag snapping is on (`settings::snappingEnabled`).
    bool snappingEnabled = settings::snappingEnabled.fallback;
    /// Snap on release even without an overlay (`settings::magnetDragMode`).
    bool magnetMode = settings::magnetDragMode.fallback;
    /// Hit-test with the pointer instead of the window centre (`settings::dragAssumeTileSize`).
    bool dragAssumeTileSize = settings::dragAssumeTileSize.fallback;
    /// Resize the window to the tile while dragging (`settings::liveResizeDuringDrag`).
    bool liveResizeDuringDrag = settings::liveResizeDuringDrag.fallback;
    /// Drag snapping only while Option is held (`settings::dragRequireOption`).
    bool dragRequireOption = settings::dragRequireOption.fallback;

    /// The switches as stored (or registered) in the standard user defaults, each read with the
    /// settings catalog's Boolean reader (any other kind of value gives the setting's fallback,
    /// the default above).
    static SnapSwitches fromDefaults();
};

} // namespace tilmora
