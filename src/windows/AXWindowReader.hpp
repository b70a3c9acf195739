#pragma once

#include "platform/desktop/AXUIElement.hpp"
#include "platform/desktop/Geometry.hpp"
#include "platform/desktop/NSRunningApplication.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "windows/AXWindowTracker.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Reading other applications' windows through Accessibility, and choosing one of them for a saved
// window. None of these checks the Accessibility permission: without it every read fails, and they
// answer none, false or an empty list. Every Accessibility error counts as a missing value; nothing
// is logged. Any thread.
namespace tilmora::WindowManager {

/// The attribute's value when it can be read and is text; otherwise none.
std::optional<std::string> axStringAttr(const platform::AXUIElement& element, const std::string& attribute);

/// The window's "AXTitle" when it is text.
std::optional<std::string> readAXTitle(const platform::AXUIElement& element);

/// The window's window-server number: "AXWindowNumber" when it reads as a number, else
/// "AXWindowID" read the same way; none when neither does.
std::optional<std::int64_t> axWindowNumber(const platform::AXUIElement& element);

/// The window's frame in global coordinates (points, y up from the bottom of the main display),
/// from its Accessibility position and size (top-left coordinates) flipped through the main
/// display's height read now. None unless both read as a point and a size.
std::optional<platform::CGRect> readAXRect(const platform::AXUIElement& element);

/// An ordinary window the system may move: role "AXWindow", a subrole other than "AXSystemDialog"
/// (no subrole passes), and a settable position or size (a failed query counts as not settable).
bool isStandardMovableWindow(const platform::AXUIElement& element);

/// The windows in order without those whose window number appeared earlier in the list; windows
/// without a number are all kept.
std::vector<platform::AXUIElement> uniqueAXWindowsByNumber(const std::vector<platform::AXUIElement>& windows);

/// The application's standard movable windows, polled until there are at least `minCount`.
///
/// One pass reads "AXWindows" (else the focused window, else the main window), keeps the standard
/// movable windows and, when `bundleID` is "com.apple.Terminal", drops repeated window numbers.
/// A pass with at least `minCount` windows answers at once; otherwise the thread sleeps 100 ms and
/// passes again while the time-out (seconds from the call) has not run out, then answers the last
/// non-empty pass (an empty list when there was none). A time-out of 0 still sleeps once after a
/// pass that falls short. Blocks the calling thread; any thread.
std::vector<platform::AXUIElement> fetchAXWindows(const platform::NSRunningApplication& app, int minCount,
                                                  double timeout, const std::optional<std::string>& bundleID);

/// The first window not used yet whose "AXTitle" equals `title` ignoring case; else the first
/// window not used yet; else none. Records nothing.
std::optional<platform::AXUIElement> pickAXWindow(const std::vector<platform::AXUIElement>& windows,
                                                  const AXWindowTracker& tracker, const std::string& title);

/// The restore's choice of the live window for one saved window, recorded in `tracker`.
///
/// Each standard movable window not used yet is scored: window number (5000 when it equals
/// `windowNumber`, else max(0, 600 - 40 x difference)); title (+1000 when equal to the trimmed
/// `expectedTitle` ignoring case, else +400 when one lower-cased title contains the other); geometry
/// from its frame R (+200 when the screen holding R has the display number of `targetScreen`,
/// + 120 x overlap area / target area, - centre distance / 10, - 0.125 x size difference). The
/// highest score wins, the earlier window on ties. With no window scored, `pickAXWindow` decides.
/// `targetRect` is in global coordinates. The application is the one the windows belong to.
std::optional<platform::AXUIElement>
pickBestAXWindow(const platform::NSRunningApplication& app, const std::vector<platform::AXUIElement>& windows,
                 AXWindowTracker& tracker, const platform::CGRect& targetRect,
                 const platform::NSScreen& targetScreen, const std::string& expectedTitle,
                 std::optional<std::int64_t> windowNumber);

} // namespace tilmora::WindowManager
