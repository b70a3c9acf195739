#pragma once

#include "model/DisplayDescriptor.hpp"

#include <vector>

namespace tilmora {

/// Lists the connected displays. The system implementation reads the platform's screens.
class DisplayProvider {
public:
    virtual ~DisplayProvider() = default;

    /// One descriptor per connected screen, in the platform's screen order (the screen with the menu
    /// bar first); empty when no screen is known. Reports nothing on failure. Main thread.
    virtual std::vector<DisplayDescriptor> currentDisplays() = 0;
};

} // namespace tilmora
