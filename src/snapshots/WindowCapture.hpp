#pragma once

#include "snapshots/WindowDetail.hpp"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tilmora::WindowManager {

// Capture of the live windows that a snapshot records: every usable window of every regular
// application, assigned to one display, clipped to its visible frame and identified by its
// window-server number and (when snapshots cover all Spaces) its Space.

/// The bundle identifiers whose windows are never captured: the program's own.
inline const std::set<std::string> excludedBundleIdentifiers{"com.quorvane.Tilmora"};

/// The bundle identifiers that capture leaves out unless asked to include them:
/// `excludedBundleIdentifiers`, plus "com.apple.dt.Xcode", "com.microsoft.VSCode" and
/// "com.microsoft.VSCodeInsiders" when the user default `settings::excludeDevApps` holds the Boolean true
/// (absent or any other value counts as false). Any thread; logs nothing.
std::set<std::string> effectiveExcludedBundles();

/// The window number a captured window keeps: the window-server match when there is one, else the
/// Accessibility number when it is a window number (1 ... 2^31 - 1); else 0, "unknown" (no
/// duplicate test by number, no Space lookup). Pure.
std::int64_t capturedWindowNumber(std::optional<std::uint32_t> windowServerMatch, std::int64_t axNumber);

/// The windows of every running regular application, in application order and then in each
/// application's Accessibility order. Leaves out "com.apple.dock", the main bundle's own
/// application and, unless `includeExcluded`, `effectiveExcludedBundles()`; minimized windows
/// unless `includeMinimized`; windows below 80 x 80 points, windows on no screen and repeats
/// (same window number, or same bundle, display, Space, rounded geometry and title).
///
/// Frames are read in global coordinates (points, y up); each window goes to the screen whose
/// visible frame it overlaps most (the first on ties) and is stored clipped to that visible
/// frame, relative to its top-left corner. With the user default `settings::snapshotAllSpaces` true each
/// window with a number gets its Space from the window server (`spaceID` 0 otherwise).
///
/// Logs, while verbose logging is on: a "WARN" line per newly clipped window ("[SAVE][WARN] Window
/// spans beyond capture bounds; ...") and one "INFO" summary line "[SAVE]
/// captureCurrentWindows(...) workspaces=... raw=... kept=... dup=... offscreen=... small=...
/// clipped=... desk=0 missing=...". Main thread (the Space lookup runs there). Nothing is thrown.
std::vector<WindowDetail> captureCurrentWindows(bool includeExcluded, bool includeMinimized);

} // namespace tilmora::WindowManager
