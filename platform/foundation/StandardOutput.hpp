#pragma once

#include <string_view>

namespace platform {

/// The program's standard output. Writes go to the process's standard output, unless the
/// simulator captures them (`StandardOutputControl`): a desktop console keeps the program's own
/// output out of its transcript that way. Any thread; writes are serialized.
class StandardOutput {
public:
    /// Writes `text` as it is (no newline added) and flushes.
    static void write(std::string_view text);
};

} // namespace platform
