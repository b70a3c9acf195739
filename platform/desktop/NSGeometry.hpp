#pragma once

#include "platform/desktop/Geometry.hpp"

#include <string>

namespace platform {

// Text forms of points, sizes and rectangles as log lines show them: "{x, y}", "{w, h}" and
// "{{x, y}, {w, h}}", each number written with "%.17g" ("100", "0.5", "647.66666666666663",
// "1e+20"). The values are written as given, in whatever space they are in. Any thread; logs
// nothing.

std::string NSStringFromPoint(const CGPoint& point);
std::string NSStringFromSize(const CGSize& size);
std::string NSStringFromRect(const CGRect& rect);

} // namespace platform
