#pragma once

#include "snapping/RoriDeru.hpp"

namespace tilmora {

/// The parts of a snap grid, for tests and benchmarks that set up or read its state: the
/// components it owns, its drag switches and its seam. The program reaches them only through the
/// snap grid's operations.
struct SnapGridParts {
    static RectSelection& rectSelection(RoriDeru& grid) { return grid.selection_; }
    static PresetMarking& presetMarking(RoriDeru& grid) { return grid.marking_; }
    static PresetActivation& presetActivation(RoriDeru& grid) { return grid.activation_; }
    static OverlayLifecycle& overlayLifecycle(RoriDeru& grid) { return grid.overlays_; }
    static DragSession& dragSession(RoriDeru& grid) { return grid.session_; }
    static DragMonitors& dragMonitors(RoriDeru& grid) { return grid.monitors_; }
    static ActiveApplicationTracker& activeApplications(RoriDeru& grid) { return grid.activeApplications_; }
    static SnapGridSeam& seam(RoriDeru& grid) { return *grid.seam_; }
    /// The drag switches as held now.
    static const SnapSwitches& switches(const RoriDeru& grid) { return grid.switches_; }
    /// Stores every switch as given, starting or stopping nothing.
    static void restoreSwitches(RoriDeru& grid, const SnapSwitches& switches) { grid.switches_ = switches; }
};

} // namespace tilmora
