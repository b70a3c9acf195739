#include "platform/desktop/NSGeometry.hpp"

#include <cstdio>

namespace platform {

namespace {

std::string number(double v) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", v);
    return buffer;
}

std::string pair(double a, double b) {
    return "{" + number(a) + ", " + number(b) + "}";
}

} // namespace

std::string NSStringFromPoint(const CGPoint& point) {
    return pair(point.x, point.y);
}

std::string NSStringFromSize(const CGSize& size) {
    return pair(size.width, size.height);
}

std::string NSStringFromRect(const CGRect& rect) {
    return "{" + NSStringFromPoint(rect.origin) + ", " + NSStringFromSize(rect.size) + "}";
}

} // namespace platform
