#pragma once

#include "platform/ui/Color.hpp"
#include "platform/ui/Font.hpp"
#include "platform/ui/View.hpp"

namespace platform::ui {

enum class TextAlignment { left = 0, right = 1, center = 2, justified = 3, natural = 4 };

/// Control state values (buttons, menu items).
namespace ControlState {
inline constexpr int mixed = -1;
inline constexpr int off = 0;
inline constexpr int on = 1;
} // namespace ControlState

/// A view that sends an action message to a target (held weakly) when the user works it: enabled
/// flag, tag, value, alignment and font. Main thread only.
class Control : public View {
public:
    using View::View;

    std::weak_ptr<Responder> target;
    Selector action;
    long tag = 0;
    bool isEnabled = true;
    bool isContinuous = false;
    TextAlignment alignment = TextAlignment::natural;
    Font font = Font::systemFont(13);

    virtual std::string stringValue() const { return stringValue_; }
    virtual void setStringValue(const std::string& s) { stringValue_ = s; }
    virtual double doubleValue() const { return doubleValue_; }
    virtual void setDoubleValue(double v) { doubleValue_ = v; }
    /// The value cut toward zero; a value beyond `long` gives the nearer end of its range, NaN 0.
    long integerValue() const;

    void setTarget(const std::shared_ptr<Responder>& t) { target = t; }
    /// Sends `action` to `target` (or along the responder chain when the target is gone or unset)
    /// with this control as sender, through `Application::sendAction`. False when nobody answered
    /// or the control is disabled.
    bool sendAction();

private:
    std::string stringValue_;
    double doubleValue_ = 0;
};

} // namespace platform::ui
