#include "platform/ui/Slider.hpp"

#include "platform/dispatch/MainThread.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

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

double Slider::valueAt(double x) const {
    const double inset = std::min(8.0, frame().width() / 2);
    const double track = frame().width() - 2 * inset;
    const double fraction = track > 0 ? std::clamp((x - inset) / track, 0.0, 1.0) : 0;
    const double v = minValue + (maxValue - minValue) * fraction;
    return allowsTickMarkValuesOnly ? closestTickMarkValue(v) : v;
}

double Slider::knobPosition() const {
    const double inset = std::min(8.0, frame().width() / 2);
    const double track = frame().width() - 2 * inset;
    const double span = maxValue - minValue;
    const double fraction = span > 0 ? std::clamp((doubleValue() - minValue) / span, 0.0, 1.0) : 0;
    return inset + track * fraction;
}

void Slider::moveKnob(double v) {
    setDoubleValue(allowsTickMarkValuesOnly ? closestTickMarkValue(v) : v);
    if (isContinuous) sendAction();
}

void Slider::endKnobDrag() {
    if (!isContinuous) sendAction();
}

void Slider::mouseDown(const NSEvent& event) {
    grab_.reset();
    if (!isEnabled) return;
    const Point at = locationOfEvent(event);
    const double knob = knobPosition();
    if (std::abs(at.x - knob) <= knobRadius && std::abs(at.y - frame().height() / 2) <= knobRadius) {
        const double inset = std::min(8.0, frame().width() / 2);
        const double onTrack = std::clamp(at.x, inset, std::max(inset, frame().width() - inset));
        grab_ = knob - onTrack;
        return;
    }
    grab_ = 0;
    moveKnob(valueAt(at.x));
}

void Slider::mouseDragged(const NSEvent& event) {
    if (!grab_ || !isEnabled) return;
    moveKnob(valueAt(locationOfEvent(event).x + *grab_));
}

void Slider::mouseUp(const NSEvent&) {
    if (!std::exchange(grab_, std::nullopt) || !isEnabled) return;
    endKnobDrag();
}

} // namespace platform::ui
