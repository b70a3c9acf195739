#include "platform/ui/declarative/StepperArrows.hpp"

#include <algorithm>

namespace platform::ui::declarative {

Rect StepperArrows::bezel(const Rect& frame) {
    const double width = std::min(14.0, frame.width());
    return {frame.maxX() - width, frame.midY() - 11, width, 22};
}

int StepperArrows::directionAt(const Rect& frame, Point point) {
    const Rect box = bezel(frame);
    if (point.x < box.minX() || point.x > box.maxX() || point.y < box.minY() || point.y > box.maxY())
        return 0;
    return point.y < box.midY() ? 1 : -1;
}

} // namespace platform::ui::declarative
