#pragma once

#include "model/Rect.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace tilmora {

/// What the model reads of one connected screen: enough to build its display signature, to match
/// it against stored display data and to place things on it.
///
/// Frames are in global coordinates: points, origin at the bottom-left of the main display, y up.
/// The window-system layer fills these from the platform's screens; tests build them directly.
struct ScreenInfo {
    /// The screen's display number ("NSScreenNumber" of its device description); none when the
    /// screen reports none.
    std::optional<std::uint32_t> displayNumber;
    /// The screen's localized name.
    std::string localizedName;
    /// The whole screen, in points.
    Rect frame;
    /// The screen without the menu bar and the Dock, in points.
    Rect visibleFrame;
    /// Pixels per point (2 on a Retina screen).
    double backingScaleFactor = 1.0;

    friend bool operator==(const ScreenInfo&, const ScreenInfo&) = default;
};

} // namespace tilmora
