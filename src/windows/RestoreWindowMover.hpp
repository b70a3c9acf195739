#pragma once

#include "platform/desktop/AXUIElement.hpp"
#include "platform/desktop/Geometry.hpp"

#include <string>
#include <vector>

// The Accessibility mover of restores and the shell's window commands: moves other applications'
// windows as reliably as Accessibility allows, with several orders of writes and short pauses, a
// centred placement, an AppleScript fallback and one verify.
// Rectangles are in global coordinates (points, y up from the bottom of the main display); they are
// written as Accessibility positions (top-left coordinates) through the main display's height read
// at the start of each call. These calls block the calling thread while they pause (on the virtual
// clock in tests). Any thread. Lines are `WindowManager` lines (written only in verbose mode).
namespace tilmora::WindowManager {

/// A window of `resetWindows`: its title and the rectangle it goes back to (global coordinates).
struct ResetTarget {
    std::string title;
    platform::CGRect rect;
};

/// Presses the window's zoom button when it has one (the press's own result is ignored); false when
/// it has none.
bool pressAXZoomIfAvailable(const platform::AXUIElement& window);

/// Sets the window's frame to `target`, inside the screen whose visible frame is `visibleFrame`,
/// and raises it when `raise` is true.
///
/// Returns false at once, writing nothing, when the target is not finite or neither position nor
/// size is settable. Otherwise it un-minimizes and leaves full screen, then tries in turn: size then
/// position; position then size; zoom, size, position; position then size followed by a centred
/// placement within the visible frame and size, position; position then size. Each failed attempt
/// logs ERROR "AX set order size→position failed (e1=<error>, e2=<error>)" (or the position→size
/// form). Only settable attributes are written (the centred position excepted). After the first
/// attempt that succeeds, one verify read rewrites the position when the frame is off by more than
/// 1.5 points in size or 2 points in origin; then the raise; the result is true. When every attempt
/// fails, the result is `appleScriptMoveFrontWindow(target)`'s.
bool moveAXWindow(const platform::AXUIElement& window, const platform::CGRect& target,
                  const platform::CGRect& visibleFrame, bool raise);

/// Moves the front window of the frontmost application, target or not, through a "System Events"
/// script run on the calling thread; the numbers sent are truncated toward zero. True when the
/// script answers true. A script error logs WARN "AppleScript move fallback error: " + the error's
/// description and gives false; so does a target that is not finite or does not fit the numbers.
bool appleScriptMoveFrontWindow(const platform::CGRect& target);

/// Moves the windows of every running instance of `bundleID` back to `targets` by title: per
/// target the first window whose title equals it ignoring case, on the screen whose visible frame
/// overlaps the rectangle most (else the first screen), raised. Waits up to 0.6 s per instance for
/// its windows to appear. Logs RESET "Resetting <n> window(s) for bundle <id>" and, per window,
/// "Reset window ‘<title>’ on <screen name> to {{x, y}, {w, h}}".
///
/// Without the Accessibility permission it shows the system's prompt once and returns without
/// waiting or moving anything. Main thread (the shell's reset command).
void resetWindows(const std::string& bundleID, const std::vector<ResetTarget>& targets);

} // namespace tilmora::WindowManager
