#pragma once

#include "platform/desktop/Geometry.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/foundation/Text.hpp"

#include <optional>
#include <string_view>

namespace tilmora {

/// The window snapshots' toolbox: reading, choosing and moving other applications' windows through
/// Accessibility and the window server's window list, and the verbose log those operations share.
/// A namespace without state of its own but the verbose switch and the Space mover; its members are
/// spread over the headers of src/windows/ (AXWindowReader, RestoreWindowMover, CGWindowIndex,
/// RestoreLogSession, SpacesMover, SpaceMoveRetry, AppleScriptRunner) and extended by the snapshot
/// layer.
///
/// This header holds the log core. A `WindowManager` line reads
/// "[" + HH:mm:ss.SSS + "] [" + level + "] " + message and is passed to `print`, only while the
/// verbose switch is on. The switch starts off; `applyRuntimePrefs()` copies `settings::verboseLogging`
/// into it, and the preferences window sets it together with that setting.
namespace WindowManager {

/// Whether `WindowManager` lines are written now. Starts false (also after a test fixture's reset
/// of the shared instances). Any thread.
bool verboseLogging();

/// Turns the `WindowManager` lines on or off. Any thread.
void setVerboseLogging(bool on);

/// Copies the user default `settings::verboseLogging` into the verbose switch: its Boolean reading when
/// the key holds a value (registered values count), false when it holds none. Any thread.
void applyRuntimePrefs();

/// The formatter of the time at the head of every line: the local time of day as "HH:mm:ss.SSS".
inline constexpr auto timeFormatter = &platform::Text::timeOfDay;

/// Writes "[" + the current time + "] [" + level + "] " + message through `print` while the
/// verbose switch is on; nothing otherwise. Any thread.
void logLine(std::string_view level, std::string_view message);

/// The screen of the screen list whose visible frame overlaps `rect` (global coordinates, points,
/// y up) with the largest positive area; the first such screen wins ties. None when no visible
/// frame overlaps it, or when there are no screens. Any thread; logs nothing.
std::optional<platform::NSScreen> screenForRect(const platform::CGRect& rect);

} // namespace WindowManager

} // namespace tilmora
