#include "platform/dispatch/MediaTime.hpp"

#include "platform/internal/Kernel.hpp"

namespace platform {

double mediaTime() {
    auto& k = detail::Kernel::get();
    k.ensureStarted();
    return static_cast<double>(k.now()) / 1e9;
}

} // namespace platform
