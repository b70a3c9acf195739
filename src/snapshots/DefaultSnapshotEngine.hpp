#pragma once

#include "snapshots/SnapshotEngine.hpp"

namespace tilmora {

/// The system's snapshot engine. Holds no state; pure; any thread; logs nothing.
class DefaultSnapshotEngine : public SnapshotEngine {
public:
    /// For each mapping, in order:
    /// - target display id: the mapping's display id, else the current display of the first of
    ///   `windows`; neither (or no displays at all) gives no placement for the mapping;
    /// - display: the first whose id equals the target (the placement names the target), else the
    ///   first display (the placement names that display);
    /// - window: the first still-unclaimed window of the mapping's application, which it then
    ///   claims (no window serves two mappings); none when there is none;
    /// - frame: the normalized frame scaled to the display's bounds when it has a positive width
    ///   and height, else the claimed window's current frame, else the display's bounds.
    /// `profile` does not change the result.
    std::vector<SnapshotPlacement> computePlacements(const SnapshotDefinition& definition,
                                                     const std::vector<WindowDescriptor>& windows,
                                                     const std::vector<DisplayDescriptor>& displays,
                                                     const std::optional<LayoutProfile>& profile) override;
};

} // namespace tilmora
