#include "platform/foundation/SystemLog.hpp"

#include "platform/foundation/SharedInstance.hpp"
#include "platform/internal/SystemLogRecord.hpp"

#include <cstdio>
#include <mutex>

namespace platform {

void systemLog(std::string_view message) {
    auto& r = SharedInstance<system_log_detail::Record>::get();
    std::lock_guard<std::mutex> hold(r.mutex);
    r.lines.emplace_back(message);
    if (r.echo) {
        std::string line = "tilmora[system]: " + std::string(message) + "\n";
        std::fwrite(line.data(), 1, line.size(), stderr);
    }
}

} // namespace platform
