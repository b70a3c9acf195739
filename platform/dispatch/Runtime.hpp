#pragma once

namespace platform::Runtime {

/// How the platform's clocks, threads and waits behave, chosen once at start-up.
enum class Mode {
    /// Real threads, the host's clocks, real sleeps. The program on a live session.
    real,
    /// Real threads of which exactly one runs at a time, on a deterministic virtual clock. Tests
    /// and the simulated desktop. The default when nobody calls `start`.
    simulated,
};

/// Starts the platform's scheduler in `mode` with the calling thread as the main thread. Any
/// threads of a previous start are stopped and joined first, and every queue, timer, observer and
/// scheduled event is dropped. Call it from the thread that will run the main run loop.
void start(Mode mode);

/// The mode chosen by the last `start` (simulated when nobody called it).
Mode mode();

} // namespace platform::Runtime
