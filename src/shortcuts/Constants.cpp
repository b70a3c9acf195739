#include "shortcuts/Constants.hpp"

#include "platform/input/ProcessInfo.hpp"

namespace tilmora::GlobalShortcuts {

Constants::Constants()
    : isSandboxed_(platform::ProcessInfo::processInfo().environment("APP_SANDBOX_CONTAINER_ID").has_value()) {
}

} // namespace tilmora::GlobalShortcuts
