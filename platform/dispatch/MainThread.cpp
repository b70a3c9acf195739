#include "platform/dispatch/MainThread.hpp"

#include "platform/foundation/Error.hpp"
#include "platform/internal/Kernel.hpp"

#include <string>

namespace platform {

bool isMainThread() {
    return detail::Kernel::get().isMainThread();
}

namespace detail {

void failOffMainThread(const char* call) {
    throw Error(std::string(call != nullptr ? call : "this call") + " must be called on the main thread");
}

} // namespace detail
} // namespace platform
