#pragma once

#include "shell/SnappingSwitch.hpp"

#include <memory>

namespace tilmora {

/// What the preferences window changes on the snap grid. The shell puts its grid into the view's
/// environment under "roriDeruCoordinator"; without one the view uses `RoriDeru::shared()`
/// (`RoriDeruSnapGrid`). Its snapping switch goes off through `switchSnappingOff`. Main thread only.
class PreferencesSnapGrid : public SnappingSwitch {
public:
    virtual void setMagnetMode(bool on) = 0;
    virtual void setDragRequireOption(bool on) = 0;
    virtual void startMonitoringIfNeeded() = 0;
};

} // namespace tilmora
