#pragma once

#include "platform/ui/Rect.hpp"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform::ui {

/// What the toolkit needs to know of a screen: frame and visible frame (points, global, y up),
/// backing scale, display number and name. The list comes from the simulated desktop.
struct ScreenInfo {
    Rect frame;
    Rect visibleFrame;
    double backingScaleFactor = 2;
    std::optional<uint32_t> number;
    std::string localizedName;

    /// The screens, the menu-bar screen first.
    static std::vector<ScreenInfo> all();
    /// The main screen's visible frame; a 1440 x 875 area when there are no screens.
    static Rect mainVisibleFrame();
    /// The screen that holds the largest part of `rect`; none when it overlaps no screen.
    static std::optional<ScreenInfo> forRect(const Rect& rect);
    /// Control API: where the list comes from (null: the default single 1440 x 900 screen).
    static void setProvider(std::function<std::vector<ScreenInfo>()> provider);
};

} // namespace platform::ui
