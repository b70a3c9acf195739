#include "preferences/RoriDeruSnapGrid.hpp"

#include "snapping/RoriDeru.hpp"

namespace tilmora {

std::shared_ptr<PreferencesSnapGrid> RoriDeruSnapGrid::shared() {
    return std::make_shared<RoriDeruSnapGrid>(RoriDeru::shared());
}

void RoriDeruSnapGrid::setMagnetMode(bool on) {
    grid_.setMagnetMode(on);
}
void RoriDeruSnapGrid::setDragRequireOption(bool on) {
    grid_.setDragRequireOption(on);
}
void RoriDeruSnapGrid::setSnappingEnabled(bool on) {
    grid_.setSnappingEnabled(on);
}
void RoriDeruSnapGrid::startMonitoringIfNeeded() {
    grid_.startMonitoringIfNeeded();
}
void RoriDeruSnapGrid::stopMonitoring() {
    grid_.stopMonitoring();
}
void RoriDeruSnapGrid::setSuppressMenuSelection(bool on) {
    if (on) {
        grid_.suppressMenuSelectionOnce();
    } else {
        grid_.consumeSuppressMenuSelection();
    }
}
void RoriDeruSnapGrid::clearAllRectSelections() {
    grid_.clearAllRectSelections();
}
void RoriDeruSnapGrid::clearGridPresetMarking(bool removeOverlays) {
    grid_.clearGridPresetMarking(removeOverlays);
}

} // namespace tilmora
