#pragma once

#include "snapshots/WindowValue.hpp"

#include "platform/desktop/Geometry.hpp"
#include "platform/desktop/NSScreen.hpp"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace tilmora::WindowManager {

// Where the saved displays of a snapshot's rows are now. Every function here is stateless, reads
// `NSScreen` and the rows on the calling thread (the restore worker's), holds no locks and logs
// nothing. Frames are global coordinates (points, y up).

/// The tolerance of display matching, points, on each of x, y, width and height (inclusive).
inline constexpr double displayBoundsTolerance = 2.0;

/// True when every one of x, y, width and height differs by at most `displayBoundsTolerance`.
bool boundsMatch(const platform::CGRect& a, const platform::CGRect& b);

/// "<width>x<height>" with each rounded half away from zero ("1512x945"); none when either is not
/// finite or does not fit a 64-bit integer.
std::optional<std::string> sizeKey(const platform::CGSize& size);

/// The display numbers present now: the first numbers `CGGetOnlineDisplayList` writes (at most
/// 16); when it fails, the display numbers of the screen list (screens without one skipped).
std::set<std::uint32_t> presentScreenIDs();

/// Maps every saved display number of `windows` onto a present display number, without asking:
/// by unique fingerprint, then by visible frame, then by the same number, then by size key (paired
/// left to right), and finally onto the main screen's number (or the first screen's; 0 when
/// neither has one). Saved displays are visited in ascending number. Empty when `screens` is.
std::map<std::uint32_t, std::uint32_t> automaticDisplayMapping(const std::vector<WindowValue>& windows,
                                                               const std::vector<platform::NSScreen>& screens);

/// True when some row's saved display number is carried by one screen while another screen (with
/// another or no display number) has the row's saved visible frame. Rows without a saved visible
/// frame are skipped.
bool detectDisplayIdSwap(const std::vector<WindowValue>& windows, const std::vector<platform::NSScreen>& screens);

} // namespace tilmora::WindowManager
