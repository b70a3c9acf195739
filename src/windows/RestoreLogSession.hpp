#pragma once

#include "platform/dispatch/Lock.hpp"

#include <string>
#include <string_view>
#include <unordered_set>

namespace tilmora::WindowManager {

/// The log of one snapshot restore, shared by all of that restore's tasks. Its lines are
/// `WindowManager` lines (written only while the verbose switch is on) whose message starts with
/// "[RESTORE][" + the session's id + "] ". `logOnce` writes a line at most once per key for the
/// whole restore. Any thread.
class RestoreLogSession {
public:
    /// A session with a fresh id: the first 8 characters of a newly generated UUID's text.
    RestoreLogSession();
    RestoreLogSession(const RestoreLogSession&) = delete;
    RestoreLogSession& operator=(const RestoreLogSession&) = delete;

    const std::string& id() const { return id_; }

    /// Writes "[RESTORE][" + id + "] " + message at `level` as a `WindowManager` line.
    void log(std::string_view message, std::string_view level);

    /// Writes the line as `log` does the first time `key` is given to this session; later calls
    /// with the same key write nothing. The key counts as seen even when the verbose switch is off
    /// and nothing was written.
    void logOnce(const std::string& key, std::string_view message, std::string_view level);

private:
    std::string id_;
    std::unordered_set<std::string> once_;
    platform::Lock lock_{"RestoreLogSession"};
};

} // namespace tilmora::WindowManager
