#include "platform/control/SharedInstances.hpp"

#include "platform/foundation/SharedInstance.hpp"

namespace platform {

void SharedInstances::resetAll() {
    detail::resetAllShared();
}

void SharedInstances::resetProgram() {
    detail::resetProgramShared();
}

} // namespace platform
