#pragma once

#include "platform/input/ModifierFlags.hpp"

#include <cstdint>
#include <string>

namespace tilmora::GlobalShortcuts {

// The two modifier masks of the platform: the event flags (`platform::ModifierFlags`) and the
// Carbon bits of hot keys and raw key events. Five modifiers map one to one:
//   control 0x40000 <-> 0x1000, option 0x80000 <-> 0x800, shift 0x20000 <-> 0x200,
//   command 0x100000 <-> 0x100, function 0x800000 <-> 0x20000.
// Every other bit of either mask (caps lock, numeric pad, help, device-dependent bits) is dropped
// by both conversions. Pure; any thread.

/// The Carbon mask of the event flags `flags`.
std::int64_t carbon(platform::ModifierFlags flags);

/// The event flags of the Carbon mask `carbon`.
platform::ModifierFlags modifierFlags(std::int64_t carbon);

/// `carbon` after a round trip to event flags and back: only the five Carbon bits above remain
/// (control plus option is 6144, with shift 6656, with command 6400).
std::int64_t normalizedCarbonModifiers(std::int64_t carbon);

/// "⌃" for control, "⌥" option, "⇧" shift, "⌘" command, "🌐︎" function, in this fixed order
/// whatever order the flags were given in; empty for none.
std::string ks_symbolicRepresentation(platform::ModifierFlags flags);

} // namespace tilmora::GlobalShortcuts
