#pragma once

#include "platform/ui/Control.hpp"

#include <optional>

namespace platform::ui {

/// A slider: value between a minimum and a maximum, tick marks, continuous flag (the action comes
/// for every knob movement). The pointer drags the knob (`mouseDown`, `mouseDragged`, `mouseUp`),
/// and so does `UISimulator::dragSlider`, through the same knob steps (`moveKnob`, `endKnobDrag`).
/// Main thread only.
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
    /// Where the knob's centre stands for the value (the view's own space, points): `valueAt`'s
    /// place of the value on the track, the track's start when the bounds are equal.
    double knobPosition() const;
    /// The knob is a circle this many points from its centre to its edge.
    static constexpr double knobRadius = 7;

    /// A press on the knob (within `knobRadius` of its centre across and up or down) leaves it
    /// where it is; a press elsewhere on the slider moves the knob under the pointer (`valueAt`,
    /// `moveKnob`). While the button is held the knob follows the pointer at the distance it had
    /// from the press, the press point taken on the track (a press past the track's end grabs
    /// the knob there), each move a `moveKnob`; the release, wherever the pointer is then, ends
    /// the drag (`endKnobDrag`). Nothing while disabled.
    void mouseDown(const NSEvent& event) override;
    void mouseDragged(const NSEvent& event) override;
    void mouseUp(const NSEvent& event) override;
    /// One step of a drag of the knob: the knob goes to `v` (the nearest tick value when the slider
    /// takes tick values only; within the bounds) and a continuous slider sends its action.
    void moveKnob(double v);
    /// The drag of the knob ends: a slider that is not continuous sends its action now.
    void endKnobDrag();

private:
    /// While the pointer drags the knob: the knob's distance from the pointer (points, along the
    /// track).
    std::optional<double> grab_;
};

} // namespace platform::ui
