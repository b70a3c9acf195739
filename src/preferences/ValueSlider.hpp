#pragma once

#include "platform/ui/Slider.hpp"
#include "platform/ui/declarative/Binding.hpp"
#include "preferences/PreferencesControl.hpp"

#include <functional>

namespace tilmora {

/// A continuous slider of the preferences form over [lower, upper], bound to `value`. Every action
/// message snaps the knob's value to `step` (anything up to 0.0001 acts as 0.0001) counted from
/// `lower`, clamps it into the range, writes it when it differs from the bound value by more than
/// 0.0001, sets the knob to it and calls `onChange` with it. Tick marks are set when the slider is
/// made, never after. Main thread only.
class ValueSlider : public PreferencesControl<ValueSlider, platform::ui::Slider> {
public:
    ValueSlider(platform::ui::declarative::Binding<double> value, double lower, double upper, double step,
                std::function<void(double)> onChange = nullptr)
        : value(std::move(value))
        , lower(lower)
        , upper(upper)
        , step(step)
        , onChange(std::move(onChange)) {}

    platform::ui::declarative::Binding<double> value;
    double lower;
    double upper;
    double step;
    std::function<void(double)> onChange;

    /// The step in force: `step` when above 0.0001, else 0.0001.
    static double effectiveStep(double step);
    /// The number of tick marks: the larger of 2 and (upper − lower) / step truncated plus 1. A
    /// quotient that is not a number gives 2; one beyond the 64-bit range saturates.
    static long tickMarkCount(double lower, double upper, double step);
    /// `x` snapped to the step from `lower` (halves away from zero), then clamped into the range.
    static double snapped(double x, double lower, double upper, double step);

    std::shared_ptr<platform::ui::Slider> make(const std::shared_ptr<platform::ui::Responder>& target) const;
    void update(platform::ui::Slider& slider) const;

    /// The action: snaps and clamps the knob's value, writes it when it moved by more than the
    /// tolerance, sets the knob to it, calls the handler.
    void changed(platform::ui::Slider& slider);
};

} // namespace tilmora
