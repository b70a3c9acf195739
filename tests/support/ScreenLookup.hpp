#pragma once

#include "platform/desktop/NSScreen.hpp"
#include "windows/ScreenIdentity.hpp"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace testsupport {

/// The connected screen of display `display`; throws when there is none.
inline platform::NSScreen screenOfDisplay(std::uint32_t display) {
    for (const auto& candidate : platform::NSScreen::screens()) {
        if (tilmora::tlm_displayID(candidate) == display) return candidate;
    }
    throw std::runtime_error("no screen " + std::to_string(display));
}

} // namespace testsupport
