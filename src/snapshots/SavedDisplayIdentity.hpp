#pragma once

#include "snapshots/WindowAttributes.hpp"

#include "platform/desktop/Geometry.hpp"

#include <cstdint>
#include <optional>

namespace tilmora::WindowManager {

// The display identity a saved window row carries, and its readers. Pure; any thread.

/// `screenUUID`: the display number in bits 0-31 and its fingerprint in bits 32-63, the 64-bit
/// pattern read as a signed integer (display 1 with fingerprint 0xD1BADF2A gives
/// -3334107202632810495).
std::int64_t packScreenUUID(std::uint32_t displayID, std::uint32_t fingerprint);
/// The display number of a `screenUUID`: its low 32 bits, unsigned.
std::uint32_t savedDisplayNumber(std::int64_t screenUUID);
/// The fingerprint of a `screenUUID`: its high 32 bits, unsigned.
std::uint32_t savedFingerprint(std::int64_t screenUUID);

/// `windowID`: the origin of a display's visible frame (global coordinates, points, y up), each
/// coordinate rounded half away from zero and kept as its 32-bit two's-complement pattern, x in
/// bits 32-63 and y in bits 0-31 ((-1440, 900) gives 0xFFFFFA6000000384). An origin that rounds to
/// (0, 0), is not finite or does not round into the signed 32-bit range gives 0, "no saved
/// origin".
std::int64_t packWindowID(double originX, double originY);

/// The saved origin of a `windowID`: x its high half and y its low half, each read as a signed
/// 32-bit integer.
struct SavedOrigin {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const SavedOrigin&) const = default;
};
SavedOrigin savedOrigin(std::int64_t windowID);

/// The visible frame of the display a row was saved on (global coordinates, points, y up): the
/// origin of `windowID` and the size (`originalScreenWidth`, `originalScreenHeight`). None when
/// `windowID` is 0 (no saved origin) or either size is not greater than 0 (NaN included).
std::optional<platform::CGRect> savedDisplayBounds(const WindowAttributes& window);

} // namespace tilmora::WindowManager
