#include "platform/ui/Slider.hpp"

#include "platform/dispatch/MainThread.hpp"

#include <cmath>

namespace platform::ui {

std::shared_ptr<Slider> Slider::make(double value, double minV, double maxV,
                                     const std::shared_ptr<Responder>& target, const Selector& action) {
    auto s = std::make_shared<Slider>();
    s->minValue = minV;
    s->maxValue = maxV;
    s->setDoubleValue(value);
    s->target = target;
    s->action = action;
    s->setFrameSize({120, 21});
    return s;
}

void Slider::setDoubleValue(double v) {
    requireMainThread("Slider::setDoubleValue");
    double lo = std::min(minValue, maxValue), hi = std::max(minValue, maxValue);
    if (std::isnan(v)) v = lo;
    Control::setDoubleValue(std::clamp(v, lo, hi));
}

double Slider::closestTickMarkValue(double v) const {
    if (numberOfTickMarks < 2) return numberOfTickMarks == 1 ? (minValue + maxValue) / 2 : v;
    double step = (maxValue - minValue) / double(numberOfTickMarks - 1);
    double i = std::round((v - minValue) / step);
    i = std::clamp(i, 0.0, double(numberOfTickMarks - 1));
    return minValue + i * step;
}

} // namespace platform::ui
