#pragma once

#include "platform/desktop/NSScreen.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace tilmora {

/// The display number of a screen: its "NSScreenNumber" device-description entry converted exactly
/// to an unsigned 32-bit integer; none when the entry is missing, not a number, fractional,
/// negative or above the 32-bit range. Holds no state; any thread; logs nothing.
std::optional<std::uint32_t> tlm_displayID(const platform::NSScreen& screen);

/// The text identity of a screen, the key of every per-display setting: the display number in
/// decimal ("1") when "NSScreenNumber" holds a number (read as its unsigned 32-bit value, so a
/// stored -1 gives "4294967295"); otherwise the localized name, "-", the x and "-", the y of the
/// frame's origin (global coordinates, points) in shortest text with a fraction
/// ("Panel-640.0--200.0"). Holds no state; any thread; logs nothing.
std::string tlm_identifierString(const platform::NSScreen& screen);

/// The "NSScreenNumber" entry taken as a number and read as its unsigned 32-bit value: integers
/// keep their low 32 bits, doubles are truncated toward zero first; none when the entry is missing,
/// not a number, not finite or beyond the 64-bit range.
std::optional<std::uint32_t> screenNumberValue(const platform::NSScreen& screen);

} // namespace tilmora
