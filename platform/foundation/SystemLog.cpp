#include "platform/foundation/SystemLog.hpp"

#include "platform/foundation/SharedInstance.hpp"
#include "platform/foundation/StandardError.hpp"
#include "platform/internal/SystemLogRecord.hpp"

#include <mutex>

namespace platform {

void systemLog(std::string_view message) {
    auto& r = SharedInstance<system_log_detail::Record>::get();
    bool echo = false;
    {
        std::lock_guard<std::mutex> hold(r.mutex);
        r.lines.emplace_back(message);
        echo = r.echo;
    }
    if (echo) StandardError::write("tilmora[system]: " + std::string(message) + "\n");
}

} // namespace platform
