#include "platform/control/SystemLogControl.hpp"

#include "platform/foundation/SharedInstance.hpp"
#include "platform/internal/SystemLogRecord.hpp"

namespace platform::SystemLogControl {

std::vector<std::string> recordedLines() {
    auto& r = SharedInstance<system_log_detail::Record>::get();
    std::lock_guard<std::mutex> hold(r.mutex);
    return r.lines;
}

void clearRecordedLines() {
    auto& r = SharedInstance<system_log_detail::Record>::get();
    std::lock_guard<std::mutex> hold(r.mutex);
    r.lines = {};
}

void setEchoToStandardError(bool echo) {
    auto& r = SharedInstance<system_log_detail::Record>::get();
    std::lock_guard<std::mutex> hold(r.mutex);
    r.echo = echo;
}

} // namespace platform::SystemLogControl
