#include "platform/control/SharedInstances.hpp"

#include "platform/foundation/SharedInstance.hpp"

namespace platform {

void SharedInstances::registerReset(std::function<void()> reset) {
    detail::registerSharedReset(std::move(reset));
}

void SharedInstances::resetAll() {
    detail::resetAllShared();
}

} // namespace platform
