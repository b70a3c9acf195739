#pragma once

#include <cstdint>
#include <string>

namespace platform {

using OSStatus = std::int32_t;
inline constexpr OSStatus errAEEventNotPermitted = -1743;
inline constexpr OSStatus errAEEventWouldRequireUserConsent = -1744;
inline constexpr OSStatus procNotFound = -600;

/// Whether the program may send Apple events to the application with this bundle identifier
/// ("com.apple.systemevents" is the one the simulated desktop knows; others answer
/// `procNotFound`). With `askUserIfNeeded` and a permission not yet decided, the prompt is shown
/// (counted) and the user's configured answer decides. Any thread; logs nothing.
OSStatus AEDeterminePermissionToAutomateTarget(const std::string& bundleIdentifier, bool askUserIfNeeded);

} // namespace platform
