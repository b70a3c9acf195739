#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

/// Counts of what the program holds on the platform, for tests that show nothing grows over many
/// operations. Main thread.
class ResourceCounts {
public:
    /// Valid timers on the main run loop.
    static std::size_t scheduledTimers();
    /// Installed event monitors, global and local.
    static std::size_t eventMonitors();
    /// The program's registered hot keys.
    static std::size_t hotKeys();
    /// Observers of the default notification center.
    static std::size_t notificationObservers();
    /// Prepared SQLite statements not yet finalized, over every database.
    static std::int64_t openStatements();
    /// The program's windows (every toolkit window not yet released, shown or not).
    static std::size_t programWindows();
};

} // namespace platform
