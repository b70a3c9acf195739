#pragma once

#include "platform/dispatch/Lock.hpp"

#include <set>
#include <string>

namespace tilmora {

/// The snap grid's memory of warnings already printed, so that a bad value read or laid out many
/// times a second (the drag tick, the overlays) is logged once rather than on every call. Keyed by
/// a text of the caller's choosing; bounded: forgets everything when it passes 100 keys.
/// Any thread (guarded by a lock; the line is printed after the unlock).
class OnceLog {
public:
    /// The one memory of the process, created on first use and reset with the other shared
    /// instances.
    static OnceLog& shared();

    /// Prints `line` through the program's `print` unless `key` was printed before; returns whether
    /// it printed.
    bool printOnce(const std::string& key, const std::string& line);

private:
    platform::Lock lock_;
    std::set<std::string> printed_;
};

} // namespace tilmora
