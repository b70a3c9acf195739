#include "snapping/SnapSwitches.hpp"

#include "model/Settings.hpp"

#include "snapping/SnapDefaults.hpp"

namespace tilmora {

SnapSwitches SnapSwitches::fromDefaults() {
    SnapSwitches switches;
    switches.snappingEnabled = SnapDefaults::flag(settings::snappingEnabled.key, true);
    switches.magnetMode = SnapDefaults::flag(settings::magnetDragMode.key, false);
    switches.dragAssumeTileSize = SnapDefaults::flag(settings::dragAssumeTileSize.key, true);
    switches.liveResizeDuringDrag = SnapDefaults::flag(settings::liveResizeDuringDrag.key, true);
    switches.dragRequireOption = SnapDefaults::flag(settings::dragRequireOption.key, false);
    return switches;
}

} // namespace tilmora
