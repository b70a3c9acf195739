#pragma once

#include "snapshots/SnapshotPlacement.hpp"

#include "model/DisplayDescriptor.hpp"
#include "model/LayoutProfile.hpp"
#include "model/SnapshotDefinition.hpp"
#include "model/WindowDescriptor.hpp"

#include <optional>
#include <vector>

namespace tilmora {

/// Turns a snapshot definition into placements of its saved windows on the given displays.
class SnapshotEngine {
public:
    virtual ~SnapshotEngine() = default;

    /// One placement per mapping that can be placed, in the mappings' order. `windows` are live
    /// windows that may be matched to mappings; `profile` may refine the result.
    virtual std::vector<SnapshotPlacement> computePlacements(const SnapshotDefinition& definition,
                                                             const std::vector<WindowDescriptor>& windows,
                                                             const std::vector<DisplayDescriptor>& displays,
                                                             const std::optional<LayoutProfile>& profile) = 0;
};

} // namespace tilmora
