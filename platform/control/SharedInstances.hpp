#pragma once

namespace platform {

/// The one reset of the shared state of the platform and the system: every shared instance made
/// through `SharedInstance<T>` (the desktop, the input and UI state, the UI simulator's scripts and
/// journals, user defaults, notification centers, the main bundle's settings, folders, the system
/// log, and the system's own `X::shared()` instances) is destroyed, and the next use creates it
/// afresh. Newest first, so an instance goes before the instances its constructor reached.
///
/// Tests and the desktop console only. Main thread, with every worker stopped
/// (`Runtime::start` first).
class SharedInstances {
public:
    static void resetAll();
    /// Destroys only the program's shared instances (`SharedScope::program`: the program's own,
    /// and its process's application object, event queue, notification centers with their
    /// observers, workspace object and in-memory user defaults, which are written first when
    /// behind and read from disk again on next use), newest first, as a process's exit would.
    /// The desktop's (`SharedScope::desktop`: displays, applications, windows, input, menu bar,
    /// system log, the simulator's and console's knobs, scripts and journals) stay as they are.
    /// The console calls it before it launches a program that ended, so that the new one starts
    /// fresh.
    static void resetProgram();
};

} // namespace platform
