#pragma once

#include "windows/RestoreLogSession.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace tilmora::WindowManager {

class SpacesMover;

/// Runs an AppleScript for "System Events" on the main thread and tells whether it ran without an
/// error. On the main thread it runs at once; from any other thread the caller waits on the main
/// queue for it (so it must hold no lock the main thread needs). False when the source does not
/// make a script object, and for any script error; an error writes the `WindowManager` "WARN" line
/// `label` + " AppleScript error (" + number + "). Check Automation permissions / responsiveness for
/// Terminal/System Events." for errors -1743, -1712 and -10000, else `label` + " AppleScript error: "
/// + the error dictionary's description (only while verbose logging is on).
bool runAppleScript(const std::string& source, const std::string& label);

/// The digit key code that the Mission Control chord control + digit uses for Desktop `desktop`
/// (1 to 9); none beyond.
std::optional<int> desktopKeyCode(int desktop);

/// Switches the screen to the Desktop that holds Space `spaceID` by sending control + its digit
/// through "System Events". The Desktop number comes from `mover`; without one within 1 to 9 it
/// writes (once per restore and Space) "WARN" "Spaces(AppleScript) no Desktop mapping for Space
/// <id>. <context>" and answers false. On success it writes (once) "SPACE" "Spaces(AppleScript)
/// switched to Desktop <n> for Space <id>. <context>", pauses 220 ms (every time) and answers true;
/// on failure it writes (once) "WARN" "Spaces(AppleScript) switch failed (Desktop <n>, Space <id>).
/// Check Mission Control shortcuts + Automation permission. <context>" and answers false. Lines go
/// to `session`. Blocks the calling thread (a restore worker).
bool appleScriptSwitchToSpace(std::uint64_t spaceID, SpacesMover& mover, RestoreLogSession& session,
                              const std::string& context);

} // namespace tilmora::WindowManager
