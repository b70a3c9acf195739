#pragma once

#include "platform/desktop/Geometry.hpp"
#include "windows/CGWindowLite.hpp"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

// The window server's window list as the snapshots need it: an index of every process's windows,
// the window-server number of an Accessibility window, whether a window is on screen, and the Space
// ("workspace") numbers that the list carries under "kCGWindowWorkspace". Each call reads the list
// anew; nothing is kept. Any thread; nothing is logged.
//
// Rectangles taken by the matchers are in TOP-LEFT coordinates (points, y down from the top of the
// main display), the space of the list's bounds. Callers holding a global rectangle r convert it
// first: y = mainHeight - (r.y + r.height) (`platform::globalToTopLeft`).
namespace tilmora::WindowManager {

/// Every process's windows, front to back, by process identifier.
using CGWindowIndex = std::map<std::int32_t, std::vector<CGWindowLite>>;

/// One pass over the list of all windows; entries without a numeric window number or owner are
/// skipped. Empty when the list cannot be read.
CGWindowIndex buildCGWindowIndex();

/// The window-server number of a window of `pid`: `axWindowNumber` itself when it is at least 1 and
/// the process's list holds it; else the window of the process at least 40 x 40 points whose bounds
/// score lowest by centre distance to `rect` + 200 x (larger area / smaller area - 1), + 30 when
/// both titles are non-empty and neither contains the other ignoring case. The earlier window wins
/// ties. None when the process has no qualifying window. `rect` is in top-left coordinates.
std::optional<std::uint32_t> resolveCGWindowID(std::int64_t axWindowNumber, std::int32_t pid,
                                               const platform::CGRect& rect, const std::string& title,
                                               const CGWindowIndex& index);

/// Whether the window with this number is on screen: false for a number below 1 (without reading
/// the list), for a number the list lacks, and when the entry's on-screen flag is missing.
bool cgWindowIsOnscreen(std::int64_t windowNumber);

/// The Space number of the frontmost ordinary on-screen window: the first on-screen entry of layer
/// 0, on screen, with an alpha of at least 0.01 (missing passes), that carries a workspace number
/// within the signed 32-bit range. None when no window qualifies or the list cannot be read.
std::optional<std::int32_t> currentWorkspaceID();

/// Every distinct workspace number in the list of all windows; empty when it cannot be read.
std::set<std::int32_t> detectWorkspaceIDs();

/// The restore's search for the window-server number of a window of `appPID` that it is about to
/// move to another Space. Each pass scores the process's windows with non-empty bounds by centre
/// distance to `approxRect` + 0.35 x the width and height differences + a title penalty (none
/// without an expected title; 140 for an untitled window, 0 for an equal title, 35 when one
/// contains the other ignoring case, else 120); the earlier window wins ties. A best score below
/// 260 answers at once; otherwise the thread sleeps 120 ms and passes again until `maxWait` seconds
/// have passed since the call, then answers the last pass's best whatever its score. None when
/// `maxWait` is not above 0, when the list cannot be read, or when the last pass had no candidate.
/// A window without a name in the list goes by its owner's name. `approxRect` is in top-left
/// coordinates. Blocks the calling thread.
std::optional<std::uint32_t> resolveCGWindowIDForMove(std::int32_t appPID, const platform::CGRect& approxRect,
                                                      const std::optional<std::string>& expectedTitle,
                                                      double maxWait);

} // namespace tilmora::WindowManager
