#pragma once

#include <string_view>

namespace tilmora::WindowManager {

/// How the windows of a missing display are placed on its replacement display.
enum class RemapMode {
    /// One by one, by the per-window placement of the restore.
    moveOnly,
    /// Scaled together as one group to fit the replacement display's visible frame.
    smartFit,
    /// Laid out on a tile grid. Nothing chooses it today and no rectangles are computed for it,
    /// so its windows are placed one by one.
    tileGrid,
};

/// The case name as log lines print it: "moveOnly", "smartFit" or "tileGrid".
std::string_view caseName(RemapMode mode);

} // namespace tilmora::WindowManager
