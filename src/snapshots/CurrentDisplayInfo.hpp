#pragma once

#include "platform/desktop/Geometry.hpp"

#include <cstdint>

namespace tilmora::WindowManager {

/// One present screen with a display number, as the automatic mapping sees it.
struct CurrentDisplayInfo {
    std::uint32_t id = 0;
    /// The display's fingerprint now.
    std::uint32_t fingerprintHash = 0;
    /// The screen's visible frame (global coordinates, points, y up).
    platform::CGRect visibleBounds;
};

} // namespace tilmora::WindowManager
