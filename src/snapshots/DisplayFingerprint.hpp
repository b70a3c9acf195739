#pragma once

#include <cstdint>

namespace tilmora::WindowManager {

/// The 32-bit FNV-1a hash (offset basis 0x811C9DC5, prime 16777619) of 24 bytes: the six values
/// in this order, each as an unsigned 32-bit little-endian integer (the built-in flag as 1 or 0).
/// Pure; any thread.
std::uint32_t fingerprintHash(std::uint32_t vendor, std::uint32_t model, std::uint32_t serial, bool builtin,
                              std::uint32_t pixelsWide, std::uint32_t pixelsHigh);

/// The fingerprint of a display as it is now: `fingerprintHash` of its vendor, model and serial
/// numbers, built-in flag and pixel width and height (the display queries; an unknown display
/// answers zeros). It recognises the same panel when its display number changes. Any thread; logs
/// nothing.
std::uint32_t displayFingerprintHash(std::uint32_t displayID);

} // namespace tilmora::WindowManager
