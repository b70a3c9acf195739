#pragma once

#include "platform/desktop/Geometry.hpp"

#include <cstdint>
#include <optional>

namespace tilmora::WindowManager {

/// One saved display as the automatic mapping sees it, read from the first row saved on it.
struct SavedDisplayInfo {
    /// The saved display number.
    std::uint32_t id = 0;
    /// The display's fingerprint at save time (0: unknown).
    std::uint32_t fingerprintHash = 0;
    /// The saved visible frame (global coordinates, points, y up); none when the row has none.
    std::optional<platform::CGRect> visibleBounds;
    /// (`originalScreenWidth`, `originalScreenHeight`), points; always present.
    platform::CGSize visibleSize;
};

} // namespace tilmora::WindowManager
