#include "snapshots/DisplayFingerprint.hpp"

#include "platform/desktop/CGDisplay.hpp"

namespace tilmora::WindowManager {

std::uint32_t fingerprintHash(std::uint32_t vendor, std::uint32_t model, std::uint32_t serial, bool builtin,
                              std::uint32_t pixelsWide, std::uint32_t pixelsHigh) {
    const std::uint32_t values[] = {vendor, model, serial, builtin ? 1u : 0u, pixelsWide, pixelsHigh};
    std::uint32_t hash = 0x811C9DC5u;
    for (std::uint32_t value : values)
        for (int byte = 0; byte < 4; ++byte) {
            hash ^= (value >> (8 * byte)) & 0xFFu;
            hash *= 16777619u;
        }
    return hash;
}

std::uint32_t displayFingerprintHash(std::uint32_t displayID) {
    return fingerprintHash(
        platform::CGDisplayVendorNumber(displayID), platform::CGDisplayModelNumber(displayID),
        platform::CGDisplaySerialNumber(displayID), platform::CGDisplayIsBuiltin(displayID),
        static_cast<std::uint32_t>(platform::CGDisplayPixelsWide(displayID)),
        static_cast<std::uint32_t>(platform::CGDisplayPixelsHigh(displayID)));
}

} // namespace tilmora::WindowManager
