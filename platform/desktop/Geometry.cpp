#include "platform/desktop/Geometry.hpp"

#include "platform/foundation/Text.hpp"

namespace platform {

std::string CGRect::description() const {
    return "(" + Text::doubleDescription(origin.x) + ", " + Text::doubleDescription(origin.y) + ", " +
           Text::doubleDescription(size.width) + ", " + Text::doubleDescription(size.height) + ")";
}

} // namespace platform
