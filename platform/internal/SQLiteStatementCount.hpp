#pragma once

#include <atomic>
#include <cstdint>

namespace platform::sqlite_detail {

/// Prepared statements not yet finalized, over every database of the process. Any thread.
inline std::atomic<std::int64_t>& openStatementCount() {
    static std::atomic<std::int64_t> count{0};
    return count;
}

} // namespace platform::sqlite_detail
