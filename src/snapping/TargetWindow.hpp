#pragma once

#include "model/Rect.hpp"
#include "model/WindowId.hpp"
#include "platform/desktop/AXUIElement.hpp"
#include "platform/desktop/Geometry.hpp"
#include "platform/desktop/NSRunningApplication.hpp"
#include "windows/AXAttributeNames.hpp"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tilmora {

class ActiveApplicationTracker;

/// Which application and which of its windows a snap means, and what can be read of that window
/// through Accessibility: its frame, key, number and the minimum size of its application. The
/// target is never this program itself, even while one of its windows is in front.
///
/// Rectangles are global (points, origin at the bottom-left of the main display, y up);
/// Accessibility positions are top-left (y down from the top of the main display) and are flipped
/// through the main display's height. Failed Accessibility reads are never reported: each falls
/// through to the next choice or gives none. The only state touched is the remembered
/// last active application (`ActiveApplicationTracker`). Main thread; the Accessibility calls block on the other application.
namespace TargetWindow {

/// The key and global frame of the target application's window (see `keyAndRect`).
struct KeyAndRect {
    std::string key;
    Rect rect;
    friend bool operator==(const KeyAndRect&, const KeyAndRect&) = default;
};

/// The Accessibility attribute through which the target window's number is read.
inline constexpr const char* AXWindowNumberAttribute = kAXWindowNumberAttribute;
/// Minimum window size of applications not in `minByBundle`, points.
inline constexpr platform::CGSize defaultMin{220, 160};
/// Minimum window sizes of some applications by bundle identifier, points, in declared order.
const std::vector<std::pair<std::string, platform::CGSize>>& minByBundle();

/// The application a snap should act on: the workspace's frontmost one unless it is this program
/// (bundle identifiers compared as optional texts); else the last other application while it has
/// not ended; else the owner of the window under the pointer; else none. The first and the third
/// choice become the remembered application. Logs the choice ("AX": "Target app = frontmost
/// (<bundle>) pid=<pid>", "... lastActive ...", "... underMouse ...", or "Target app could not be
/// determined"; "unknown" stands for a missing bundle identifier).
std::optional<platform::NSRunningApplication> targetApplication(ActiveApplicationTracker& applications);

/// The owner of the frontmost window on layer 0 under the pointer that is not this program's; none
/// when the window list fails, nothing qualifies or the owner is not running.
std::optional<platform::NSRunningApplication> appUnderMouse();

/// Whether `window` is a standard movable window: role "AXWindow"; subrole missing, not a text,
/// "AXStandardWindow" or "AXDocumentWindow"; position or size settable.
bool isStandardMovableWindow(const platform::AXUIElement& window);

/// The standard movable window of an application element: its focused window, else its main
/// window, else the first such window of "AXWindows"; none otherwise.
std::optional<platform::AXUIElement> findAXWindow(const platform::AXUIElement& application);

/// The global frame of an Accessibility window from its position and size; none when either read
/// fails or is not a point or size value.
std::optional<Rect> frame(const platform::AXUIElement& window);

/// The frame of the target application's focused window, else its main window, else its first
/// window, whatever their kind (a panel counts); none without trust (asking nothing), target or
/// window.
std::optional<Rect> frontmostWindowAppKitRect(ActiveApplicationTracker& applications);

/// Key ("<bundle or pid>|<title or untitled>") and frame of the target's standard movable window.
std::optional<KeyAndRect> keyAndRect(ActiveApplicationTracker& applications);

/// The window-server number of the target's standard movable window, in decimal.
std::optional<WindowId> currentWindowId(ActiveApplicationTracker& applications);

/// The minimum window size of an application by bundle identifier: its `minByBundle` entry, else
/// `defaultMin`. Points.
platform::CGSize minSize(const std::string& bundleIdentifier);

/// `minSize` of the workspace's frontmost application (not the target: while this program is in
/// front its own identifier, without entry, gives the default).
platform::CGSize frontmostAppMinSize();

} // namespace TargetWindow

} // namespace tilmora
