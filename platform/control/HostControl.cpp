#include "platform/control/HostControl.hpp"

#include "platform/internal/HostKnobs.hpp"

namespace platform {

using desktop_detail::HostKnobs;

void HostControl::setUid(uid_t uid) {
    auto& knobs = HostKnobs::shared();
    std::lock_guard hold(knobs.mutex);
    knobs.uid = uid;
}

void HostControl::setUpdaterStartError(std::optional<std::string> error) {
    auto& knobs = HostKnobs::shared();
    std::lock_guard hold(knobs.mutex);
    knobs.updaterStartError = std::move(error);
}

} // namespace platform
