#pragma once

#include "snapshots/WindowAttributes.hpp"

#include "platform/desktop/Geometry.hpp"

#include <optional>
#include <string>

namespace tilmora {

/// The fields of a saved window row that its geometry needs. Plain value; any thread.
struct SnapshotWindowRecord {
    /// The saved rectangle, relative to the saved display's visible frame with a top-left origin
    /// (points); see `WindowAttributes`.
    double xPosition = 0;
    double yPosition = 0;
    double width = 0;
    double height = 0;
    /// The saved display's visible frame: x and y the signed halves of `windowID`, the size
    /// (`originalScreenWidth`, `originalScreenHeight`). Global coordinates, points, y up; the zero
    /// origin when the row has no saved origin.
    platform::CGRect originalFrame;
    std::optional<std::string> bundleIdentifier;

    SnapshotWindowRecord() = default;
    /// Copies the fields of a saved window (a `Window`, or a `WindowValue` handed to a worker).
    explicit SnapshotWindowRecord(const WindowAttributes& window);
};

} // namespace tilmora
