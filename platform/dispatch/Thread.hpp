#pragma once

#include <cstdint>

namespace platform {

/// The calling thread.
class Thread {
public:
    /// Whether the caller is the main thread (the thread that started the runtime; in tests the
    /// test's own thread).
    static bool isMainThread();
    /// Blocks the calling thread for `seconds` (on the virtual clock in the simulated mode, where
    /// other threads run meanwhile). Zero or less only lets other runnable threads run.
    static void sleep(double seconds);
};

/// Same as `Thread::sleep`.
void sleep(double seconds);
/// Blocks the calling thread for `microseconds`.
void usleep(std::uint64_t microseconds);

} // namespace platform
