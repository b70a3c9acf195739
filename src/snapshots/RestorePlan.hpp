#pragma once

#include "snapshots/ScreenRemap.hpp"
#include "snapshots/SmartFitPlacement.hpp"
#include "snapshots/SnapshotPlacement.hpp"
#include "snapshots/SnapshotValue.hpp"

#include "platform/desktop/NSScreen.hpp"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tilmora::WindowManager {

/// What a restore decided before it fans out over the applications: the engine placements (only
/// when no saved display is missing and no display numbers were swapped), the smart-fit and
/// tile-grid rectangles, and the rows by application.
struct RestorePlan {
    /// Whether some saved display number now belongs to another display.
    bool swapDetected = false;
    /// The engine's placement of each row by row id.
    std::map<std::int64_t, SnapshotPlacement> placementsByRow;
    PlacementRects smartFitRects;
    PlacementRects tileGridRects;
    /// The rows with a bundle identifier, by bundle identifier (ascending), each in saved order.
    std::map<std::string, std::vector<WindowValue>> groups;
};

/// Plans the restore of the kept `rows` of `snapshot` with the screen remap `remap` already built:
/// the swap test against `screens` (the screens the restore's entry read), the placements against
/// the current screens, the plan log, the smart-fit and tile-grid rectangles and the grouping.
/// Logs "Display ID swap detected; ..." ("SCREEN"), the plan, an empty line and "Restoring <n>
/// windows across <g> app(s)" ("INFO"). Any thread.
RestorePlan planRestore(const SnapshotValue& snapshot, const std::vector<WindowValue>& rows, const ScreenRemap& remap,
                        const std::vector<platform::NSScreen>& screens);

} // namespace tilmora::WindowManager
