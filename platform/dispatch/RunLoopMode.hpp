#pragma once

namespace platform {

/// A run-loop mode. A timer or observer added in `common` is serviced in every common mode
/// (default, event tracking and modal panel); the main queue is serviced in the common modes.
enum class RunLoopMode {
    defaultMode,
    /// While a menu or a drag tracks events.
    eventTracking,
    /// While a modal panel runs.
    modalPanel,
    /// The set of the three modes above; a run loop never runs "in" common itself.
    common,
};

/// Whether a timer or observer registered for `registered` is serviced while the run loop runs in
/// `running`.
constexpr bool runLoopModeMatches(RunLoopMode registered, RunLoopMode running) {
    return registered == running || registered == RunLoopMode::common;
}

} // namespace platform
