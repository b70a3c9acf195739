#include "snapshots/SavedDisplayIdentity.hpp"

#include <cmath>
#include <limits>

namespace tilmora::WindowManager {

namespace {

/// `value` rounded half away from zero, when that lies in the signed 32-bit range.
std::optional<std::int32_t> roundedInt32(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double rounded = std::round(value);
    if (rounded < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

} // namespace

std::int64_t packScreenUUID(std::uint32_t displayID, std::uint32_t fingerprint) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(fingerprint) << 32) | displayID);
}

std::uint32_t savedDisplayNumber(std::int64_t screenUUID) {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(screenUUID) & 0xFFFFFFFFu);
}

std::uint32_t savedFingerprint(std::int64_t screenUUID) {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(screenUUID) >> 32);
}

std::int64_t packWindowID(double originX, double originY) {
    const auto x = roundedInt32(originX);
    const auto y = roundedInt32(originY);
    if (!x || !y) return 0;
    const std::uint64_t high = static_cast<std::uint32_t>(*x);
    const std::uint64_t low = static_cast<std::uint32_t>(*y);
    return static_cast<std::int64_t>((high << 32) | low);
}

SavedOrigin savedOrigin(std::int64_t windowID) {
    const auto bits = static_cast<std::uint64_t>(windowID);
    return {static_cast<std::int32_t>(static_cast<std::uint32_t>(bits >> 32)),
            static_cast<std::int32_t>(static_cast<std::uint32_t>(bits & 0xFFFFFFFFu))};
}

std::optional<platform::CGRect> savedDisplayBounds(const WindowAttributes& window) {
    if (window.windowID == 0) return std::nullopt;
    if (!(window.originalScreenWidth > 0) || !(window.originalScreenHeight > 0)) return std::nullopt;
    const SavedOrigin origin = savedOrigin(window.windowID);
    return platform::CGRect{static_cast<double>(origin.x), static_cast<double>(origin.y),
                            window.originalScreenWidth, window.originalScreenHeight};
}

} // namespace tilmora::WindowManager
