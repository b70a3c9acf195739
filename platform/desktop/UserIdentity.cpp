#include "platform/desktop/UserIdentity.hpp"

#include "platform/internal/HostKnobs.hpp"

namespace platform {

uid_t UserIdentity::getuid() {
    auto& knobs = desktop_detail::HostKnobs::shared();
    std::lock_guard hold(knobs.mutex);
    return knobs.uid;
}

} // namespace platform
