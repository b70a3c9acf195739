#pragma once

#include "platform/desktop/Geometry.hpp"

#include <cstdint>
#include <string>

namespace tilmora::WindowManager {

/// One window of the window server's window list, as the window index keeps it.
struct CGWindowLite {
    /// The window-server window number.
    std::uint32_t windowID = 0;
    /// The owner's process identifier.
    std::int32_t pid = 0;
    /// Window-list bounds: top-left coordinates (points, y down from the top of the main display).
    /// A missing value reads as 0.
    platform::CGRect bounds;
    /// The window's name in the list; empty when the list withholds it.
    std::string title;
    bool isOnscreen = false;

    bool operator==(const CGWindowLite&) const = default;
};

} // namespace tilmora::WindowManager
