#pragma once

#include <atomic>

namespace platform::sqlite_detail {

/// The check that makes every busy wait of the process give up (`SQLiteControl::abandonBusyWaitsWhen`);
/// null while none is installed. Process-wide, never reset with the shared instances. Any thread.
inline std::atomic<bool (*)()>& busyWaitEnd() {
    static std::atomic<bool (*)()> check{nullptr};
    return check;
}

} // namespace platform::sqlite_detail
