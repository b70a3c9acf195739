#include "snapshots/RemapMode.hpp"

namespace tilmora::WindowManager {

std::string_view caseName(RemapMode mode) {
    switch (mode) {
    case RemapMode::moveOnly:
        return "moveOnly";
    case RemapMode::smartFit:
        return "smartFit";
    case RemapMode::tileGrid:
        return "tileGrid";
    }
    return "moveOnly";
}

} // namespace tilmora::WindowManager
