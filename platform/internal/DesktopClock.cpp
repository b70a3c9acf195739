#include "platform/internal/DesktopClock.hpp"

#include "platform/internal/Kernel.hpp"

namespace platform::desktop_detail {

using platform::detail::Kernel;

double clockNow() {
    auto& k = Kernel::get();
    k.ensureStarted();
    return static_cast<double>(k.now() - k.origin()) / 1e9;
}

void clockSchedule(double at, std::function<void()> event, std::string label) {
    auto& k = Kernel::get();
    k.scheduleEvent(platform::detail::after(k.origin(), at), std::move(event), std::move(label));
}

} // namespace platform::desktop_detail
