#pragma once

#include <optional>
#include <string>

namespace tilmora {

/// The snap grid's reads of its Boolean settings in the standard user defaults. A setting counts
/// only when its stored (or registered) object is a Boolean: a text such as "YES" or "no", or a
/// number, reads as absent and gives the reader's fallback. Read anew on every call; any thread
/// (the user defaults are thread-safe); logs nothing.
namespace SnapDefaults {

/// The stored object of `key` when it is a Boolean; none when absent or of another kind.
std::optional<bool> storedBoolean(const std::string& key);

/// `storedBoolean(key)`, else `fallback`.
bool flag(const std::string& key, bool fallback);

/// The layout scope, "WMGridAllDisplays": true when layouts and selections apply to all displays
/// at once (absent: false, one display).
bool layoutAppliesToAllScreens();

/// "WMVerboseLogging" (absent: false; the shell registers true).
bool verboseLogging();

/// "WMOverlayDebug" (absent: false; not registered).
bool overlayDebug();

} // namespace SnapDefaults

} // namespace tilmora
