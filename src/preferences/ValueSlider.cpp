#include "preferences/ValueSlider.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tilmora {

using platform::ui::Responder;
using platform::ui::Slider;
using platform::ui::declarative::RepresentableContext;

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

ValueSlider::Coordinator::Coordinator(ValueSlider parent)
    : parent(std::move(parent)) {
    registerAction("changed:", [this](Responder* sender) { changed(sender); });
}

void ValueSlider::Coordinator::changed(Responder* sender) {
    auto* slider = dynamic_cast<Slider*>(sender);
    if (!slider) return;
    double v = snapped(slider->doubleValue(), parent.lower, parent.upper, parent.step);
    if (std::abs(parent.value.get() - v) > tolerance) parent.value.set(v);
    slider->setDoubleValue(v);
    if (parent.onChange) parent.onChange(v);
}

std::shared_ptr<Responder> ValueSlider::makeCoordinator() {
    return std::make_shared<Coordinator>(*this);
}

std::shared_ptr<Slider> ValueSlider::makeNSView(RepresentableContext& context) {
    auto slider = Slider::make(value.get(), lower, upper, context.coordinator, "changed:");
    slider->isContinuous = true;
    slider->numberOfTickMarks = tickMarkCount(lower, upper, step);
    slider->allowsTickMarkValuesOnly = false;
    slider->translatesAutoresizingMaskIntoConstraints = false;
    return slider;
}

void ValueSlider::updateNSView(Slider& slider, RepresentableContext& context) {
    if (slider.minValue != lower || slider.maxValue != upper) {
        slider.minValue = lower;
        slider.maxValue = upper;
    }
    double bound = value.get();
    if (!(std::abs(slider.doubleValue() - bound) <= tolerance)) slider.setDoubleValue(bound);
    if (auto coordinator = std::dynamic_pointer_cast<Coordinator>(context.coordinator))
        coordinator->parent = *this;
}

} // namespace tilmora
