#pragma once

#include <string>
#include <vector>

namespace platform::ui {

/// The control face of the toolkit's animations: which animation groups ran, how long and with
/// which timing curve. Cleared by `SharedInstances::resetAll`. Main thread.
namespace AnimationJournal {

struct Group {
    double startedAt = 0;       ///< media time (seconds) when the group began
    double duration = 0;        ///< seconds
    std::string timingFunction; ///< "linear", "easeIn", "easeOut", "easeInEaseOut" or "default"
};

/// Every group with a positive duration that changed something, in the order they began.
std::vector<Group> groups();

/// Forgets every group recorded so far (for long runs that would otherwise keep them all).
void clear();

} // namespace AnimationJournal
} // namespace platform::ui
