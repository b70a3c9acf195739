#include "snapping/TLog.hpp"

#include "model/Log.hpp"
#include "platform/dispatch/Lock.hpp"
#include "platform/dispatch/MediaTime.hpp"
#include "platform/foundation/Date.hpp"
#include "platform/foundation/SharedInstance.hpp"
#include "platform/foundation/Text.hpp"
#include "snapping/SnapDefaults.hpp"

#include <algorithm>
#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

namespace tilmora {

namespace {

/// The de-duplication map of `TLog::logDedup` with its lock.
struct DedupState {
    struct Entry {
        /// Media time of the last print, seconds.
        double t = 0;
        std::string msg;
        /// Write sequence, so that pruning drops the earliest written of equal times first.
        std::uint64_t order = 0;
    };

    platform::Lock lock{"TLog.dedupLock"};
    std::map<std::string, Entry> entries;
    std::uint64_t nextOrder = 0;

    static DedupState& shared() { return platform::SharedInstance<DedupState>::get(); }

    /// Drops the `TLog::dedupPruneCount` oldest entries once there are more than
    /// `TLog::dedupLimit`. Called with the lock held.
    void pruneIfNeeded() {
        if (entries.size() <= TLog::dedupLimit) return;
        std::vector<std::map<std::string, Entry>::iterator> byAge;
        byAge.reserve(entries.size());
        for (auto it = entries.begin(); it != entries.end(); ++it)
            byAge.push_back(it);
        const auto pruned = byAge.begin() + static_cast<std::ptrdiff_t>(TLog::dedupPruneCount);
        std::partial_sort(byAge.begin(), pruned, byAge.end(), [](const auto& a, const auto& b) {
            if (a->second.t != b->second.t) return a->second.t < b->second.t;
            return a->second.order < b->second.order;
        });
        for (auto it = byAge.begin(); it != pruned; ++it)
            entries.erase(*it);
    }
};

std::string line(std::string_view tag, std::string_view message) {
    std::string text = "[" + TLog::timeStamp() + "] [";
    text.append(tag);
    text += "] ";
    text.append(message);
    return text;
}

} // namespace

bool TLog::verbose() {
    return SnapDefaults::verboseLogging();
}

std::string TLog::timeStamp() {
    return platform::Text::timeOfDay(platform::Date::now());
}

void TLog::log(std::string_view tag, std::string_view message) {
    if (!verbose()) return;
    print(line(tag, message));
}

void TLog::logDedup(std::string_view tag, const std::string& key, const std::string& msg,
                    double minInterval) {
    if (!verbose()) return;
    const double now = platform::mediaTime();
    auto& state = DedupState::shared();
    {
        std::lock_guard guard(state.lock);
        const auto found = state.entries.find(key);
        if (found != state.entries.end() && found->second.msg == msg && now - found->second.t < minInterval)
            return;
        state.entries[key] = DedupState::Entry{now, msg, state.nextOrder++};
        state.pruneIfNeeded();
    }
    print(line(tag, msg));
}

std::size_t TLog::dedupCount() {
    auto& state = DedupState::shared();
    std::lock_guard guard(state.lock);
    return state.entries.size();
}

} // namespace tilmora
