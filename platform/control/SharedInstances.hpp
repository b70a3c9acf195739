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
};

} // namespace platform
