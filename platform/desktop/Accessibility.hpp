#pragma once

#include "platform/desktop/AXUIElement.hpp"
#include "platform/desktop/CFValue.hpp"

#include <cstdint>
#include <string>
#include <sys/types.h>

namespace platform {

/// Accessibility result codes.
using AXError = std::int32_t;
inline constexpr AXError kAXErrorSuccess = 0;
inline constexpr AXError kAXErrorFailure = -25200;
inline constexpr AXError kAXErrorIllegalArgument = -25201;
inline constexpr AXError kAXErrorInvalidUIElement = -25202;
inline constexpr AXError kAXErrorCannotComplete = -25204;
inline constexpr AXError kAXErrorAttributeUnsupported = -25205;
inline constexpr AXError kAXErrorActionUnsupported = -25206;
inline constexpr AXError kAXErrorNotImplemented = -25208;
inline constexpr AXError kAXErrorAPIDisabled = -25211;
inline constexpr AXError kAXErrorNoValue = -25212;

/// The option key of `AXIsProcessTrustedWithOptions` that asks for the system prompt.
inline constexpr const char* kAXTrustedCheckOptionPrompt = "AXTrustedCheckOptionPrompt";

// The Accessibility interface to other applications' windows on the simulated desktop.
//
// Application elements answer "AXRole" ("AXApplication"), "AXTitle", "AXWindows" (their windows,
// front to back, minimized ones included; an application may be told to list only its active
// Spaces' windows, a window twice, or nothing), "AXFocusedWindow" and "AXMainWindow" (the front
// window on an active Space; `kAXErrorNoValue` without one or when told to withhold the focused one). Window
// elements answer "AXRole", "AXSubrole", "AXTitle", "AXPosition" and "AXSize" (point and size values in
// top-left coordinates: points, y down from the top of the main display), "AXMinimized", "AXFullScreen",
// "AXZoomButton", "AXWindowNumber" / "AXWindowID" (as the window's number form says), "AXTabs"; "AXPosition",
// "AXSize", "AXMinimized", "AXFullScreen" and "AXMain" can be set. Window actions: "AXRaise"; the zoom
// button's action: "AXPress". Without Accessibility trust every call answers `kAXErrorAPIDisabled`;
// an element whose window or process has gone answers `kAXErrorInvalidUIElement`. Position and size
// writes follow the window's write rules (read-only, delayed, failing, nudging, size limits) and are
// journalled with their values. Any thread; logs nothing.

AXUIElement AXUIElementCreateApplication(pid_t pid);
AXError AXUIElementCopyAttributeValue(const AXUIElement& element, const std::string& attribute,
                                      CFValue& value);
AXError AXUIElementSetAttributeValue(const AXUIElement& element, const std::string& attribute,
                                     const CFValue& value);
AXError AXUIElementIsAttributeSettable(const AXUIElement& element, const std::string& attribute,
                                       bool& settable);
AXError AXUIElementPerformAction(const AXUIElement& element, const std::string& action);
AXError AXUIElementGetPid(const AXUIElement& element, pid_t& pid);

/// Whether the program is trusted for Accessibility.
bool AXIsProcessTrusted();
/// The same; when the options hold `kAXTrustedCheckOptionPrompt` = true and the program is not
/// trusted, the system prompt is shown (counted by `SimDesktop::accessibilityPrompts`).
bool AXIsProcessTrustedWithOptions(const CFDictionary& options);

} // namespace platform
