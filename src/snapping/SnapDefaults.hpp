#pragma once

#include <optional>
#include <string>

namespace tilmora {

/// The snap grid's reads of its Boolean settings in the standard user defaults. A setting counts
/// only when its stored (or registered) object is a Boolean: a text such as "YES" or "no", or a
/// number, reads as absent and gives the reader's fallback. Read anew on every call; any thread
/// (the user defaults are thread-safe); logs nothing.
namespace SnapDefaults {

/// The stored Boolean of `key` (`settings::storedBool`), else `fallback`.
bool flag(const std::string& key, bool fallback);

/// The layout scope, `settings::gridAllDisplays`: true when layouts and selections apply to all displays
/// at once (absent: false, one display).
bool layoutAppliesToAllScreens();

/// `settings::verboseLogging` (absent: false; the shell registers true).
bool verboseLogging();

/// `settings::overlayDebug` (absent: false; not registered).
bool overlayDebug();

} // namespace SnapDefaults

} // namespace tilmora
