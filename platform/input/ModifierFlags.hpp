#pragma once

#include <cstdint>

namespace platform {

/// The modifier flags of an event or of the keyboard. The device-independent flags live in the
/// upper half (mask 0xFFFF0000); the lower bits are device-dependent (left or right key) and
/// carry no meaning here. Arrow keys report function plus numeric pad; the other navigation and
/// function keys report function; keypad keys report numeric pad. Pure value; any thread.
struct ModifierFlags {
    std::uint64_t rawValue = 0;

    constexpr ModifierFlags() = default;
    constexpr explicit ModifierFlags(std::uint64_t raw)
        : rawValue(raw) {}

    static const ModifierFlags capsLock, shift, control, option, command, numericPad, help, function,
        deviceIndependentFlagsMask;

    constexpr bool contains(ModifierFlags o) const { return (rawValue & o.rawValue) == o.rawValue; }
    constexpr bool isEmpty() const { return rawValue == 0; }
    constexpr ModifierFlags operator|(ModifierFlags o) const { return ModifierFlags(rawValue | o.rawValue); }
    constexpr ModifierFlags operator&(ModifierFlags o) const { return ModifierFlags(rawValue & o.rawValue); }
    /// The flags without those of `o`.
    constexpr ModifierFlags subtracting(ModifierFlags o) const {
        return ModifierFlags(rawValue & ~o.rawValue);
    }
    constexpr ModifierFlags& operator|=(ModifierFlags o) { return rawValue |= o.rawValue, *this; }
    constexpr bool operator==(const ModifierFlags&) const = default;
};

inline constexpr ModifierFlags ModifierFlags::capsLock{0x10000};
inline constexpr ModifierFlags ModifierFlags::shift{0x20000};
inline constexpr ModifierFlags ModifierFlags::control{0x40000};
inline constexpr ModifierFlags ModifierFlags::option{0x80000};
inline constexpr ModifierFlags ModifierFlags::command{0x100000};
inline constexpr ModifierFlags ModifierFlags::numericPad{0x200000};
inline constexpr ModifierFlags ModifierFlags::help{0x400000};
inline constexpr ModifierFlags ModifierFlags::function{0x800000};
inline constexpr ModifierFlags ModifierFlags::deviceIndependentFlagsMask{0xFFFF0000};

} // namespace platform
