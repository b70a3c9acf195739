#pragma once

#include "platform/ui/Control.hpp"

namespace platform::ui {

/// A slider: value between a minimum and a maximum, tick marks, continuous flag (the action comes
/// for every knob movement). The user's drag is driven through `UISimulator`; a click on the track
/// moves the knob there. Main thread only.
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
    /// The value the knob takes under `x` (the view's own space, points): the track runs from 8
    /// points inside the left edge (the minimum) to 8 points inside the right edge (the maximum);
    /// a tick value when the slider takes tick values only.
    double valueAt(double x) const;
    /// A press on the slider moves the knob under the pointer (`valueAt`) and sends the action
    /// when the slider is continuous; the release sends it when it is not. Nothing while disabled.
    void mouseDown(const NSEvent& event) override;
    void mouseUp(const NSEvent& event) override;
};

} // namespace platform::ui
