#include "platform/control/AnimationJournal.hpp"

#include "platform/internal/AnimationLog.hpp"

namespace platform::ui::AnimationJournal {

std::vector<Group> groups() {
    std::vector<Group> result;
    for (const auto& entry : AnimationLog::shared().entries)
        result.push_back({entry.startedAt, entry.duration, entry.timingFunction});
    return result;
}

void clear() {
    AnimationLog::shared().entries = {};
}

} // namespace platform::ui::AnimationJournal
