#include "platform/ui/TitleBarGeometry.hpp"

#include "platform/ui/Window.hpp"

#include <algorithm>
#include <cmath>

namespace platform::ui::TitleBarGeometry {

namespace {

/// Centre to centre, and from the frame's left edge to the first centre (points).
constexpr double buttonSpacing = 20;

} // namespace

CGRect titleBar(const CGRect& frame) {
    const double bar = std::min(Window::titleBarHeight, frame.height());
    return {frame.minX(), frame.maxY() - bar, frame.width(), bar};
}

std::optional<CGPoint> buttonCentre(const CGRect& frame, Button button) {
    const CGPoint centre{frame.minX() + buttonSpacing * (1 + static_cast<int>(button)),
                         titleBar(frame).midY()};
    if (centre.x + buttonDiameter / 2 > frame.maxX()) return std::nullopt;
    return centre;
}

std::optional<Button> buttonAt(const CGRect& frame, CGPoint point) {
    for (const Button button : {Button::close, Button::miniaturize, Button::zoom}) {
        const auto centre = buttonCentre(frame, button);
        if (centre && std::hypot(point.x - centre->x, point.y - centre->y) <= buttonDiameter / 2)
            return button;
    }
    return std::nullopt;
}

bool titleBarContains(const CGRect& frame, CGPoint point) {
    const CGRect bar = titleBar(frame);
    // The top edge is the frame's: a point on it still lies on the window.
    return point.x >= bar.minX() && point.x <= bar.maxX() && point.y >= bar.minY() && point.y <= bar.maxY();
}

bool resizeCornerContains(const CGRect& frame, CGPoint point) {
    return point.x >= frame.maxX() - resizeCornerSize && point.x <= frame.maxX() && point.y >= frame.minY() &&
           point.y <= frame.minY() + resizeCornerSize;
}

} // namespace platform::ui::TitleBarGeometry
