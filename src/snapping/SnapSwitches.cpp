#include "snapping/SnapSwitches.hpp"

#include "snapping/SnapDefaults.hpp"

namespace tilmora {

SnapSwitches SnapSwitches::fromDefaults() {
    SnapSwitches switches;
    switches.snappingEnabled = SnapDefaults::flag("WMSnappingEnabled", true);
    switches.magnetMode = SnapDefaults::flag("WMMagnetDragMode", false);
    switches.dragAssumeTileSize = SnapDefaults::flag("WMDragAssumeTileSize", true);
    switches.liveResizeDuringDrag = SnapDefaults::flag("WMLiveResizeDuringDrag", true);
    switches.dragRequireOption = SnapDefaults::flag("WMDragRequireOption", false);
    return switches;
}

} // namespace tilmora
