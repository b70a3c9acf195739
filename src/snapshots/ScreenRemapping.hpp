#pragma once

#include "snapshots/RemapMode.hpp"
#include "snapshots/ScreenRemap.hpp"
#include "snapshots/WindowValue.hpp"

#include "platform/desktop/Geometry.hpp"

#include <cstdint>
#include <optional>
#include <vector>

namespace tilmora::WindowManager {

// Where the windows of missing saved displays go. These functions may be called on any thread:
// the waits and the prompt hop to the main thread with a synchronous dispatch to the main queue
// (the caller blocks) and turn the main run loop there in steps of 0.05 s. Log lines are
// `WindowManager` lines (verbose only): the builder's with the level "INFO", the prompt's with
// "SCREEN"; sets of display numbers print ascending as "[1, 5]".

/// Waits until the count of `NSScreen::screens()` was read three times in a row the same (the
/// reads 0.05 s apart, so about 0.1 s at best), at most `maxWait` seconds (media clock).
void refreshScreensStable(double maxWait);

/// The screen remap of a snapshot's rows: for each saved display number that is not present
/// (`presentScreenIDs`), the automatic mapping's display with `moveOnly`, else what the user
/// chooses in the replacement-display prompt (one prompt per missing number, sized from its first
/// row), else no entry. Waits up to 2 s for the screen list to settle first. Logs
/// "Remap needed for missing display IDs: [..]", "Auto-remapped missing display id=A -> id=B
/// (name)" and "Remapped missing display id=A -> id=B (name) mode=M"; nothing when every saved
/// display is present.
ScreenRemap buildScreenRemapping(const std::vector<WindowValue>& windows);

/// What the user chose in the replacement-display prompt.
struct ScreenChoice {
    std::uint32_t displayID = 0;
    RemapMode mode = RemapMode::moveOnly;

    bool operator==(const ScreenChoice&) const = default;
};

/// Asks the user in the modal window "Select Replacement Display" which present screen replaces
/// the missing display `missingID` (whose visible size was `sampleSize`, points) and whether its
/// windows move as they are or are fitted as a group. The screens are listed nearest in visible
/// size first; the nearest is preselected with "Just move to new screen". None when there are no
/// screens (no window is shown), when the session ends other than by OK, or when the chosen screen
/// has no display number ("Remap prompt: user canceled").
std::optional<ScreenChoice> promptForScreenRemapping(std::uint32_t missingID, platform::CGSize sampleSize);

} // namespace tilmora::WindowManager
