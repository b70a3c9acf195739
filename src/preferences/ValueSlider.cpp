#include "preferences/ValueSlider.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tilmora {

using platform::ui::Slider;

namespace {

constexpr double tolerance = 0.0001;

} // namespace

double ValueSlider::effectiveStep(double step) {
    return step > tolerance ? step : tolerance;
}

long ValueSlider::tickMarkCount(double lower, double upper, double step) {
    double quotient = (upper - lower) / effectiveStep(step);
    if (std::isnan(quotient)) return 2;
    // 2^63 is exactly representable; anything at or beyond it saturates.
    constexpr double limit = 9223372036854775808.0;
    constexpr long most = std::numeric_limits<long>::max();
    if (quotient >= limit) return most;
    if (quotient <= -limit) return 2;
    long whole = static_cast<long>(quotient);
    if (whole == most) return most;
    return std::max(2L, whole + 1);
}

double ValueSlider::snapped(double x, double lower, double upper, double step) {
    double s = effectiveStep(step);
    double v = lower + s * std::round((x - lower) / s);
    return std::max(std::min(v, upper), lower);
}

void ValueSlider::changed(Slider& slider) {
    double v = snapped(slider.doubleValue(), lower, upper, step);
    if (std::abs(value.get() - v) > tolerance) value.set(v);
    slider.setDoubleValue(v);
    if (onChange) onChange(v);
}

std::shared_ptr<Slider> ValueSlider::make(const std::shared_ptr<platform::ui::Responder>& target) const {
    auto slider = Slider::make(value.get(), lower, upper, target, "changed:");
    slider->isContinuous = true;
    slider->numberOfTickMarks = tickMarkCount(lower, upper, step);
    slider->allowsTickMarkValuesOnly = false;
    slider->translatesAutoresizingMaskIntoConstraints = false;
    return slider;
}

void ValueSlider::update(Slider& slider) const {
    if (slider.minValue != lower || slider.maxValue != upper) {
        slider.minValue = lower;
        slider.maxValue = upper;
    }
    double bound = value.get();
    if (!(std::abs(slider.doubleValue() - bound) <= tolerance)) slider.setDoubleValue(bound);
}

} // namespace tilmora
