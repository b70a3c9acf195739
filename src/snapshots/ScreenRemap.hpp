#pragma once

#include "snapshots/RemapMode.hpp"

#include <cstdint>
#include <map>

namespace tilmora::WindowManager {

/// Where the windows of one missing saved display go: the replacement display number and how
/// they are placed there.
struct RemapEntry {
    std::uint32_t displayID = 0;
    RemapMode mode = RemapMode::moveOnly;

    bool operator==(const RemapEntry&) const = default;
};

/// The screen remap of one restore: missing saved display number to its replacement. Only numbers
/// that are not present have entries; an empty remap means every saved display is present.
using ScreenRemap = std::map<std::uint32_t, RemapEntry>;

} // namespace tilmora::WindowManager
