#pragma once

#include "platform/foundation/SharedInstance.hpp"

#include <atomic>

namespace platform::sqlite_detail {

/// Faults the control API (`SQLiteControl`) armed for the next SQLite open and commit; each is
/// used up by the call it fails. A shared instance, so `SharedInstances::resetAll` disarms both.
/// Any thread.
struct SQLiteFaults {
    static constexpr SharedScope sharedScope = SharedScope::desktop;
    std::atomic<bool> failNextOpen{false};
    std::atomic<bool> failNextCommit{false};
};

inline SQLiteFaults& faults() {
    return SharedInstance<SQLiteFaults>::get();
}

} // namespace platform::sqlite_detail
