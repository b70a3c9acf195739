#pragma once

#include <string>

namespace tilmora {

/// One entry of a preferences pop-up: the code that is stored and the name that is shown. Pure
/// value; any thread.
struct PopupOption {
    std::string code;
    std::string name;
    bool operator==(const PopupOption&) const = default;
};

} // namespace tilmora
