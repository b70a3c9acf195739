#pragma once

#include "platform/desktop/Geometry.hpp"

namespace platform::ui {

/// The toolkit's geometry is the window server's (`CGPoint`, `CGSize`, `CGRect`, in points), so
/// that frames pass between windows, screens and the window list unconverted. Which space a value
/// lives in (global coordinates, y up from the bottom of the main display; a view's own
/// coordinates; the declarative views' y-down space) is stated by every function that takes one.
using Point = CGPoint;
using Size = CGSize;
using Rect = CGRect;

/// Insets in points from the top, left, bottom and right edges.
struct EdgeInsets {
    double top = 0;
    double left = 0;
    double bottom = 0;
    double right = 0;
    bool operator==(const EdgeInsets&) const = default;
};

} // namespace platform::ui
