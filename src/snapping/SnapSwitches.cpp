#include "snapping/SnapSwitches.hpp"

#include "model/Settings.hpp"

namespace tilmora {

SnapSwitches SnapSwitches::fromDefaults() {
    SnapSwitches switches;
    switches.snappingEnabled = settings::read(settings::snappingEnabled);
    switches.magnetMode = settings::read(settings::magnetDragMode);
    switches.dragAssumeTileSize = settings::read(settings::dragAssumeTileSize);
    switches.liveResizeDuringDrag = settings::read(settings::liveResizeDuringDrag);
    switches.dragRequireOption = settings::read(settings::dragRequireOption);
    return switches;
}

} // namespace tilmora
