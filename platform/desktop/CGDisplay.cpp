#include "platform/desktop/CGDisplay.hpp"

#include "platform/desktop/CoordinateSpace.hpp"
#include "platform/internal/DesktopModel.hpp"
#include "platform/internal/DesktopTransaction.hpp"

#include <cmath>

namespace platform {

using desktop_detail::DesktopModel;

CGDirectDisplayID CGMainDisplayID() {
    TXN;
    return m.displays.empty() ? 0 : m.displays.front().spec.displayID;
}

CGRect CGDisplayBounds(CGDirectDisplayID display) {
    TXN;
    auto* d = m.displayByID(display);
    if (!d) return {};
    return flipRect(d->spec.frame, m.mainHeight());
}

CGError CGGetOnlineDisplayList(std::uint32_t maxDisplays, CGDirectDisplayID* displays, std::uint32_t* count) {
    TXN;
    if (m.onlineDisplayListError != kCGErrorSuccess) return m.onlineDisplayListError;
    std::uint32_t n = 0;
    for (const auto& d : m.displays) {
        if (displays && n >= maxDisplays) break;
        if (displays) displays[n] = d.spec.displayID;
        ++n;
    }
    if (count) *count = n;
    return kCGErrorSuccess;
}

std::uint32_t CGDisplayVendorNumber(CGDirectDisplayID display) {
    TXN;
    auto* d = m.displayByID(display);
    return d ? d->spec.vendor : 0;
}

std::uint32_t CGDisplayModelNumber(CGDirectDisplayID display) {
    TXN;
    auto* d = m.displayByID(display);
    return d ? d->spec.model : 0;
}

std::uint32_t CGDisplaySerialNumber(CGDirectDisplayID display) {
    TXN;
    auto* d = m.displayByID(display);
    return d ? d->spec.serial : 0;
}

bool CGDisplayIsBuiltin(CGDirectDisplayID display) {
    TXN;
    auto* d = m.displayByID(display);
    return d && d->spec.builtin;
}

namespace {

/// A side of the display's mode in whole points: rounded only where the result is sure to fit
/// (the desktop holds no display over 1e6 points on a side); 0 for anything else.
std::size_t modeSide(double points) {
    if (!(points > 0 && points < 1e15)) return 0;
    return static_cast<std::size_t>(std::llround(points));
}

} // namespace

std::size_t CGDisplayPixelsWide(CGDirectDisplayID display) {
    TXN;
    auto* d = m.displayByID(display);
    if (!d) return 0;
    return d->spec.pixelsWide.value_or(modeSide(d->spec.frame.width()));
}

std::size_t CGDisplayPixelsHigh(CGDirectDisplayID display) {
    TXN;
    auto* d = m.displayByID(display);
    if (!d) return 0;
    return d->spec.pixelsHigh.value_or(modeSide(d->spec.frame.height()));
}

} // namespace platform
