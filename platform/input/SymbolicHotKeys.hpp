#pragma once

#include "platform/foundation/PropertyValue.hpp"
#include "platform/input/CarbonEvent.hpp"

namespace platform {

/// Dictionary keys of one entry of the symbolic hot-key list.
inline constexpr const char* kHISymbolicHotKeyEnabled = "kHISymbolicHotKeyEnabled";
inline constexpr const char* kHISymbolicHotKeyCode = "kHISymbolicHotKeyCode";
inline constexpr const char* kHISymbolicHotKeyModifiers = "kHISymbolicHotKeyModifiers";

/// The chords the operating system reserves for itself (Spotlight, Mission Control, screenshots,
/// input sources, ...): on `noErr`, `*outArray` is an array of dictionaries with the three keys
/// above (enabled as a Boolean, key code and Carbon modifier mask as integers). The simulator
/// decides the list, may switch entries off, may answer a malformed list or fail (`SimInput`).
/// `paramErr` for a null `outArray`. Any thread; logs nothing.
OSStatus CopySymbolicHotKeys(PropertyValue* outArray);

} // namespace platform
