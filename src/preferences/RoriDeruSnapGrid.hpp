#pragma once

#include "preferences/PreferencesSnapGrid.hpp"

namespace tilmora {

class RoriDeru;

/// The preferences' view of a `RoriDeru` snap grid: every call goes straight to it. Main thread.
class RoriDeruSnapGrid : public PreferencesSnapGrid {
public:
    explicit RoriDeruSnapGrid(RoriDeru& grid)
        : grid_(grid) {}
    /// The view of `RoriDeru::shared()`.
    static std::shared_ptr<PreferencesSnapGrid> shared();

    void setMagnetMode(bool on) override;
    void setDragRequireOption(bool on) override;
    void setSnappingEnabled(bool on) override;
    void startMonitoringIfNeeded() override;
    void stopMonitoring() override;
    void setSuppressMenuSelection(bool on) override;
    void clearAllRectSelections() override;
    void clearGridPresetMarking(bool removeOverlays) override;

private:
    RoriDeru& grid_;
};

} // namespace tilmora
