#pragma once

#include "model/Rect.hpp"
#include "platform/desktop/Geometry.hpp"

namespace tilmora {

/// A platform rectangle as a model rectangle, field by field (same space and units).
inline Rect toRect(const platform::CGRect& rect) {
    return {rect.origin.x, rect.origin.y, rect.size.width, rect.size.height};
}

/// A model rectangle as a platform rectangle, field by field (same space and units).
inline platform::CGRect toCGRect(const Rect& rect) {
    return {rect.x, rect.y, rect.width, rect.height};
}

} // namespace tilmora
