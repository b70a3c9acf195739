#pragma once

#include "model/Rect.hpp"

namespace tilmora {

/// Tells the rest of the system whether Stage Manager or Mission Control is active, and narrows the
/// usable frame of the primary screen while Stage Manager shows its strip on the left. Holds no
/// state: every call reads the settings and the system state anew. Main thread.
///
/// Settings (standard user defaults): `settings::integrateStageManager`, `settings::autoDetectStageManager`,
/// `settings::stageReserveLeftWidth`, and the test switches `settings::mockStageManagerActive` and
/// `settings::mockMissionControlActive`. The system's state is read from the suite "com.apple.WindowManager"
/// ("GloballyEnabled", else "EnableStageManager").
namespace StageIntegration {

/// Posted with no object by whatever changes one of the settings above.
inline constexpr const char* stateDidChange = "StageIntegrationStateDidChange";

/// True when the mock switch is on, or when the system is macOS 13 or later, detection is on and the
/// system reports Stage Manager enabled.
bool isStageManagerActive();

/// True when the mock switch is on, or when the on-screen window list holds a window of the owner
/// "Dock" whose name contains "mission control" in any case.
bool isMissionControlLikelyActive();

/// The frame that snapping uses on a screen: `original` (points, global coordinates, y up) with the
/// Stage Manager reserve taken off its left side when integration is on, `isPrimary` is true and
/// Stage Manager is active. The reserve used is at most the frame's width minus one point (an
/// infinite one included), so the result keeps a width of at least 1 and its left edge inside
/// `original`; a reserve that is NaN, 0 or negative counts as none. Otherwise `original` unchanged.
Rect effectiveVisibleFrame(const Rect& original, bool isPrimary);

} // namespace StageIntegration

} // namespace tilmora
