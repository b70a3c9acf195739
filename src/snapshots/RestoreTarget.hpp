#pragma once

#include "snapshots/AppRestoreContext.hpp"
#include "snapshots/MatchReason.hpp"

#include "platform/desktop/Geometry.hpp"
#include "platform/desktop/NSScreen.hpp"

#include <optional>
#include <vector>

namespace tilmora::WindowManager {

/// Where one saved row is put back, and why.
struct RestoreTarget {
    platform::NSScreen screen;
    /// Global coordinates, points, y up.
    platform::CGRect rect;
    MatchReason reason;

    /// The first rule that applies to `row` among `screens` (the current screens):
    /// 1. the row's own engine placement when a screen's identifier text is its display (`id`);
    /// 2. the remap of the row's saved display when its replacement is present (`remap`): the
    ///    smart-fit rectangle for a fitted display, else the row's fractions on the replacement;
    /// 3. the resolved screen (`resolveScreenWithReason`) with the row's fractions on it.
    /// None when no screen can be found at all. Logs what the screen resolution logs. Any thread.
    static std::optional<RestoreTarget> choose(const WindowValue& row, const AppRestoreContext& context,
                                               const std::vector<platform::NSScreen>& screens);
};

} // namespace tilmora::WindowManager
