#include "shell/SnappingSwitch.hpp"

#include "snapping/RoriDeru.hpp"

namespace tilmora {

namespace {

/// The snap grid's own switches.
class GridSwitch final : public SnappingSwitch {
public:
    explicit GridSwitch(RoriDeru& grid)
        : grid_(grid) {}
    void setSnappingEnabled(bool on) override { grid_.setSnappingEnabled(on); }
    void stopMonitoring() override { grid_.stopMonitoring(); }
    void setSuppressMenuSelection(bool on) override {
        if (on) {
            grid_.suppressMenuSelectionOnce();
        } else {
            grid_.consumeSuppressMenuSelection();
        }
    }
    void clearAllRectSelections() override { grid_.clearAllRectSelections(); }
    void clearGridPresetMarking(bool removeOverlays) override { grid_.clearGridPresetMarking(removeOverlays); }

private:
    RoriDeru& grid_;
};

} // namespace

void switchSnappingOff(SnappingSwitch& grid, SelectionOnSnappingOff selection) {
    grid.setSnappingEnabled(false);
    grid.stopMonitoring();
    if (selection == SelectionOnSnappingOff::kept) return;
    if (selection == SelectionOnSnappingOff::clearedWithoutMenuSelection) grid.setSuppressMenuSelection(true);
    grid.clearAllRectSelections();
    grid.clearGridPresetMarking(true);
}

void switchSnappingOff(RoriDeru& grid, SelectionOnSnappingOff selection) {
    GridSwitch gridSwitch(grid);
    switchSnappingOff(gridSwitch, selection);
}

} // namespace tilmora
