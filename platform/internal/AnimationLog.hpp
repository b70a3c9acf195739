#pragma once

#include "platform/foundation/SharedInstance.hpp"

#include <string>
#include <vector>

namespace platform::ui {

/// Every animation group with a positive duration that changed something, in the order they
/// began: the toolkit records them, the control API reads them. Main thread.
struct AnimationLog {
    static constexpr SharedScope sharedScope = SharedScope::desktop;
    struct Entry {
        double startedAt = 0;       ///< media time (seconds) when the group began
        double duration = 0;        ///< seconds
        std::string timingFunction; ///< "linear", "easeIn", "easeOut", "easeInEaseOut" or "default"
    };
    std::vector<Entry> entries;

    static AnimationLog& shared() { return SharedInstance<AnimationLog>::get(); }
};

} // namespace platform::ui
