#pragma once

#include "model/DisplayId.hpp"
#include "model/Rect.hpp"
#include "model/WindowId.hpp"

#include <optional>
#include <string>

namespace tilmora {

/// Where one saved window of a snapshot goes: the display and the frame, and the live window
/// chosen for it when one was given and matched.
struct SnapshotPlacement {
    std::optional<WindowId> windowId;
    std::string bundleIdentifier;
    DisplayId targetDisplayId;
    /// Global coordinates: points, origin at the bottom-left of the primary display, y up.
    Rect targetFrame;

    bool operator==(const SnapshotPlacement&) const = default;
};

} // namespace tilmora
