#pragma once

#include "platform/input/ModifierFlags.hpp"
#include "platform/ui/Control.hpp"
#include "platform/ui/Image.hpp"

namespace platform::ui {

enum class ButtonType {
    momentaryLight = 0,
    pushOnPushOff = 1,
    toggle = 2,
    switchButton = 3, // check box
    radio = 4,
    momentaryChange = 5,
    onOff = 6,
    momentaryPushIn = 7
};

enum class BezelStyle {
    rounded = 1,
    regularSquare = 2,
    shadowlessSquare = 6,
    circular = 7,
    texturedSquare = 8,
    recessed = 13,
    inline_ = 15
};

enum class ImagePosition {
    noImage = 0,
    imageOnly = 1,
    imageLeft = 2,
    imageRight = 3,
    imageBelow = 4,
    imageAbove = 5
};

/// Key equivalents of buttons and menu items (as characters).
namespace KeyEquivalent {
inline const std::string returnKey = "\r";
inline const std::string escape = "\x1b";
} // namespace KeyEquivalent

/// A button: title (and alternate title), attributed-title colour and font, image, type, bezel,
/// state, key equivalent, tint. A click (`performClick`) flips the state of the on/off types, then
/// sends the action. Main thread only.
class Button : public Control {
public:
    using Control::Control;

    /// A push button (momentary push-in, rounded bezel) with the title, target and action.
    static std::shared_ptr<Button>
    withTitle(const std::string& title, const std::shared_ptr<Responder>& target, const Selector& action);
    /// An image-only push button with the image, target and action.
    static std::shared_ptr<Button> withImage(const std::shared_ptr<Image>& image,
                                             const std::shared_ptr<Responder>& target,
                                             const Selector& action);
    static std::shared_ptr<Button> checkbox(const std::string& title,
                                            const std::shared_ptr<Responder>& target, const Selector& action);
    static std::shared_ptr<Button> radio(const std::string& title, const std::shared_ptr<Responder>& target,
                                         const Selector& action);

    std::string title;
    std::string alternateTitle;
    /// Colour and font of the attributed title (absent: the plain title's defaults).
    std::optional<Color> attributedTitleColor;
    std::optional<Font> attributedTitleFont;
    std::shared_ptr<Image> image;
    ImagePosition imagePosition = ImagePosition::noImage;
    ButtonType buttonType = ButtonType::momentaryPushIn;
    BezelStyle bezelStyle = BezelStyle::rounded;
    bool isBordered = true;
    bool showsBorderOnlyWhileMouseOver = false;
    int state = ControlState::off;
    bool allowsMixedState = false;
    std::string keyEquivalent;
    ModifierFlags keyEquivalentModifierMask;
    std::optional<Color> contentTintColor;

    std::string stringValue() const override { return title; }
    double doubleValue() const override { return state; }
    /// The state is the value cut toward zero (a value beyond `int` gives the nearer end, NaN off).
    void setDoubleValue(double v) override;

    /// A user's click: ignored when disabled; flips the state of on/off buttons (check boxes, radio
    /// buttons, push on/off), then sends the action. True when an action was delivered.
    virtual bool performClick();
    /// The press on the button ends: when the mouse-up lands on the button (its bounds), a click,
    /// `performClick` with the mouse-up as the current event; elsewhere nothing (main thread).
    void mouseUp(const NSEvent& event) override;

    Size intrinsicContentSize() const override;
};

} // namespace platform::ui
