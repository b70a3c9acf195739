#pragma once

#include "model/ScreenInfo.hpp"

#include "platform/foundation/JsonCoding.hpp"
#include "platform/foundation/Uuid.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tilmora {

/// A named rectangle, in fractions of a screen's visible frame (x and y from its bottom-left
/// corner, y up), into which the user can send the frontmost window from the status menu. It
/// belongs to one display (by display number and pixel resolution) or to all displays.
///
/// JSON keys in this order: "id", "name", "x", "y", "width", "height", "displayID",
/// "resolutionWidth", "resolutionHeight" (the last three only when present),
/// "appliesToAllDisplays". Reading: a missing "appliesToAllDisplays" means "no displayID"; an
/// empty name reads as "Untitled".
struct SnapArea {
    platform::UUID id;
    /// Shown in the menu; never empty after reading.
    std::string name;
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    /// The display number the area belongs to.
    std::optional<std::uint32_t> displayID;
    /// The pixel width of that display.
    std::optional<std::int64_t> resolutionWidth;
    /// The pixel height of that display.
    std::optional<std::int64_t> resolutionHeight;
    /// True: the area fits any screen and the display fields are ignored.
    bool appliesToAllDisplays = true;

    /// The screen the area should go to: for an all-displays area the first preferred screen, else
    /// the main screen, else the first screen. Otherwise the first fitting screen of the preferred
    /// list (repeats ignored), else of all screens: a non-empty frame, the display number when the
    /// area has one, and the pixel size when the area has both a width and a height. Main thread.
    std::optional<ScreenInfo> resolveScreen(const std::vector<ScreenInfo>& preferredScreens) const;

    friend bool operator==(const SnapArea&, const SnapArea&) = default;
};

platform::Json toJson(const SnapArea& area);
SnapArea fromJson(const platform::Json& json, std::type_identity<SnapArea>);

} // namespace tilmora
