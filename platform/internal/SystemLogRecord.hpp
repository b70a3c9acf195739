#pragma once

#include "platform/foundation/SharedInstance.hpp"

#include <mutex>
#include <string>
#include <vector>

namespace platform::system_log_detail {

/// The system log's record and echo switch. A shared instance: `SharedInstances::resetAll`
/// empties the record and turns the echo back on. Any thread (under `mutex`).
struct Record {
    static constexpr SharedScope sharedScope = SharedScope::desktop;
    std::mutex mutex;
    std::vector<std::string> lines;
    bool echo = true;
};

} // namespace platform::system_log_detail
