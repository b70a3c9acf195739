#pragma once

#include "snapshots/MatchReason.hpp"
#include "snapshots/ScreenRemap.hpp"
#include "snapshots/WindowValue.hpp"

#include "platform/desktop/NSScreen.hpp"

#include <optional>
#include <vector>

namespace tilmora::WindowManager {

/// The screen a saved window goes to and why.
struct ScreenResolution {
    platform::NSScreen screen;
    MatchReason reason;
};

/// Picks the target screen of one saved row among `screens` (callers pass `NSScreen::screens()`):
/// - with a saved visible frame: the screen whose visible frame matches it (within 2 points) when
///   that screen and the one carrying the saved display number differ in number (`boundsExact`,
///   logging "Display ID mismatch: ..."); else the screen with the saved number (`id`, logging
///   "Display bounds mismatch for ID match: ..." when its visible frame differs); else the screen
///   matching the frame (`boundsExact`);
/// - without one: the screen with the saved number (`id`);
/// - otherwise the screen whose full frame size is nearest to the saved size (`closestSize`, ties
///   to the earlier screen), or the main screen when `screens` is empty.
/// None only when `screens` is empty and there is no main screen. Never `remap`. Any thread;
/// logs `WindowManager` lines with the level "SCREEN" (verbose only).
std::optional<ScreenResolution> resolveScreenWithReason(const WindowValue& window,
                                                        const std::vector<platform::NSScreen>& screens);

/// Logs where each row will go, grouped by target screen in ascending display number: an empty
/// line, then per screen "Restoring to <name> (id=<n>): <count> window(s)" and one line per row
/// "  • <bundle> ‘<title>’ from savedScreenID=<s> -> targetID=<n> [reason=<raw>]" (level "GROUP"),
/// each group followed by an empty line. A row whose saved display has a remap entry whose
/// replacement screen is present goes there (`remap`); the others are resolved. Rows that resolve
/// to no screen are left out. Writes nothing at all while verbose logging is off. Any thread.
void logRestorePlanGroupedByDisplay(const std::vector<WindowValue>& windows,
                                    const std::vector<platform::NSScreen>& screens, const ScreenRemap& remap);

} // namespace tilmora::WindowManager
