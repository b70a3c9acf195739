#include "windows/RestoreLogSession.hpp"

#include "platform/foundation/Uuid.hpp"
#include "windows/WindowManager.hpp"

namespace tilmora::WindowManager {

RestoreLogSession::RestoreLogSession()
    : id_(platform::UUID().uuidString().substr(0, 8)) {}

void RestoreLogSession::log(std::string_view message, std::string_view level) {
    std::string line = "[RESTORE][" + id_ + "] ";
    line.append(message);
    logLine(level, line);
}

void RestoreLogSession::logOnce(const std::string& key, std::string_view message, std::string_view level) {
    // The line is written after the lock is released, so a slow log file never holds up the others.
    const bool isNew = lock_.withLock([&] { return once_.insert(key).second; });
    if (isNew) log(message, level);
}

} // namespace tilmora::WindowManager
