#pragma once

#include <memory>

namespace tilmora {

/// What the preferences window changes on the snap grid. The shell puts its grid into the view's
/// environment under "roriDeruCoordinator"; without one the view uses `RoriDeru::shared()`
/// (`RoriDeruSnapGrid`). Main thread only.
class PreferencesSnapGrid {
public:
    virtual ~PreferencesSnapGrid() = default;
    virtual void setMagnetMode(bool on) = 0;
    virtual void setDragRequireOption(bool on) = 0;
    virtual void setSnappingEnabled(bool on) = 0;
    virtual void startMonitoringIfNeeded() = 0;
    virtual void stopMonitoring() = 0;
    virtual void setSuppressMenuSelection(bool on) = 0;
    virtual void clearAllRectSelections() = 0;
    virtual void clearGridPresetMarking(bool removeOverlays) = 0;
};

} // namespace tilmora
