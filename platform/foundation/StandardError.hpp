#pragma once

#include <string_view>

namespace platform {

/// The process's standard error as the platform's diagnostics reach it (the system log's echo, the
/// user defaults' reports). Writes go to standard error, unless the simulator captures them
/// (`StandardErrorControl`): a desktop console keeps every diagnostic line in its log that way,
/// off the terminal. Any thread; writes are serialized.
class StandardError {
public:
    /// Writes `text` as it is (no newline added).
    static void write(std::string_view text);
};

} // namespace platform
