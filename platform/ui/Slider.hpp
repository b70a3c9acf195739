#pragma once

#include "platform/ui/Control.hpp"

namespace platform::ui {

/// A slider: value between a minimum and a maximum, tick marks, continuous flag (the action comes
/// for every knob movement). The user's drag is driven through `UISimulator`. Main thread only.
class Slider : public Control {
public:
    Slider() { isContinuous = false; }
    /// A slider with value, bounds, target and action.
    static std::shared_ptr<Slider> make(double value, double minValue, double maxValue,
                                        const std::shared_ptr<Responder>& target, const Selector& action);

    double minValue = 0;
    double maxValue = 1;
    long numberOfTickMarks = 0;
    bool allowsTickMarkValuesOnly = false;

    double doubleValue() const override { return Control::doubleValue(); }
    /// Sets the value, limited to the slider's bounds.
    void setDoubleValue(double v) override;
    /// The tick value nearest to `v` (v itself without tick marks).
    double closestTickMarkValue(double v) const;
    Size intrinsicContentSize() const override { return {-1, 21}; }
};

} // namespace platform::ui
