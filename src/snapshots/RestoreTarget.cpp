#include "snapshots/RestoreTarget.hpp"

#include "snapshots/ScreenResolution.hpp"
#include "snapshots/SnapshotWindowGeometry.hpp"
#include "snapshots/SnapshotWindowRecord.hpp"
#include "windows/GeometryBridge.hpp"
#include "windows/ScreenIdentity.hpp"

namespace tilmora::WindowManager {

std::optional<RestoreTarget> RestoreTarget::choose(const WindowValue& row, const AppRestoreContext& context,
                                                   const std::vector<platform::NSScreen>& screens) {
    if (row.rowID) {
        if (const auto placement = context.placementsByRow.find(*row.rowID);
            placement != context.placementsByRow.end()) {
            for (const auto& screen : screens)
                if (tlm_identifierString(screen) == placement->second.targetDisplayId.rawValue)
                    return RestoreTarget{screen, toCGRect(placement->second.targetFrame), MatchReason::id};
        }
    }
    const SnapshotWindowRecord record(row);
    const auto fractionsOn = [&](const platform::NSScreen& screen) {
        return SnapshotWindowGeometry::targetRect(record, screen.frame(), screen.visibleFrame());
    };
    const auto savedID = static_cast<std::uint32_t>(static_cast<std::uint64_t>(row.screenUUID) & 0xFFFFFFFFu);
    if (const auto entry = context.remap.find(savedID); entry != context.remap.end()) {
        for (const auto& screen : screens) {
            if (tlm_displayID(screen) != entry->second.displayID) continue;
            if (entry->second.mode == RemapMode::smartFit && row.rowID) {
                if (const auto fit = context.smartFitRects.find(*row.rowID); fit != context.smartFitRects.end())
                    return RestoreTarget{screen, fit->second, MatchReason::remap};
            }
            return RestoreTarget{screen, fractionsOn(screen), MatchReason::remap};
        }
    }
    const auto resolved = resolveScreenWithReason(row, screens);
    if (!resolved) return std::nullopt;
    return RestoreTarget{resolved->screen, fractionsOn(resolved->screen), resolved->reason};
}

} // namespace tilmora::WindowManager
