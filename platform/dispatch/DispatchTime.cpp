#include "platform/dispatch/DispatchTime.hpp"

#include "platform/internal/Kernel.hpp"

namespace platform {

DispatchTime DispatchTime::now() {
    auto& k = detail::Kernel::get();
    k.ensureStarted();
    return DispatchTime{k.now()};
}

DispatchTime DispatchTime::distantFuture() {
    return DispatchTime{detail::kNever};
}

DispatchTime DispatchTime::operator+(double seconds) const {
    if (uptimeNanoseconds == detail::kNever) return *this;
    return DispatchTime{detail::after(uptimeNanoseconds, seconds)};
}

} // namespace platform
