#include "platform/dispatch/Runtime.hpp"

#include "platform/internal/Kernel.hpp"

namespace platform::Runtime {

void start(Mode mode) {
    detail::Kernel::get().start(mode);
}

Mode mode() {
    detail::Kernel::get().ensureStarted();
    return detail::Kernel::get().mode();
}

} // namespace platform::Runtime
