#pragma once

#include "platform/foundation/SharedInstance.hpp"

#include <functional>

namespace tilmora {

/// The shell's reset of every window the program has snapped (each back to its frame from before
/// the snap), which the snapshot rows run after quitting a snapshot's applications. The snapshot
/// layer's shell hooks install it when the shell builds its main window at start-up; none is
/// installed by default, and a run without one says so once in the log (hook
/// "ResetSnappedWindowsHook" of `HookRegistry`). Reset with the other shared instances. Main thread.
class ResetSnappedWindowsHook {
public:
    static ResetSnappedWindowsHook& shared() { return platform::SharedInstance<ResetSnappedWindowsHook>::get(); }

    /// Installs the reset; an empty function removes it.
    static void install(std::function<void()> reset) { shared().reset_ = std::move(reset); }
    static bool isInstalled() { return static_cast<bool>(shared().reset_); }
    /// Runs the installed reset; false (nothing done) when none is installed.
    static bool run();

private:
    friend class platform::SharedInstance<ResetSnappedWindowsHook>;
    ResetSnappedWindowsHook() = default;
    std::function<void()> reset_;
};

} // namespace tilmora
