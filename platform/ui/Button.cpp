#include "platform/ui/Button.hpp"

#include "platform/ui/TextMetrics.hpp"

#include "platform/dispatch/MainThread.hpp"

#include <cmath>
#include <limits>

namespace platform::ui {

void Button::setDoubleValue(double v) {
    if (std::isnan(v)) {
        state = ControlState::off;
        return;
    }
    constexpr int most = std::numeric_limits<int>::max(), least = std::numeric_limits<int>::min();
    state = v >= most ? most : v <= least ? least : static_cast<int>(v);
}

namespace {
std::shared_ptr<Button> make(const std::string& title, const std::shared_ptr<Responder>& target,
                             const Selector& action, ButtonType type) {
    auto b = std::make_shared<Button>();
    b->title = title;
    b->target = target;
    b->action = action;
    b->buttonType = type;
    b->setFrameSize(b->intrinsicContentSize());
    return b;
}
} // namespace

std::shared_ptr<Button> Button::withTitle(const std::string& title, const std::shared_ptr<Responder>& target,
                                          const Selector& action) {
    return make(title, target, action, ButtonType::momentaryPushIn);
}

std::shared_ptr<Button> Button::withImage(const std::shared_ptr<Image>& image,
                                          const std::shared_ptr<Responder>& target, const Selector& action) {
    auto b = make("", target, action, ButtonType::momentaryPushIn);
    b->image = image;
    b->imagePosition = ImagePosition::imageOnly;
    b->setFrameSize(b->intrinsicContentSize());
    return b;
}

std::shared_ptr<Button> Button::checkbox(const std::string& title, const std::shared_ptr<Responder>& target,
                                         const Selector& action) {
    return make(title, target, action, ButtonType::switchButton);
}

std::shared_ptr<Button> Button::radio(const std::string& title, const std::shared_ptr<Responder>& target,
                                      const Selector& action) {
    return make(title, target, action, ButtonType::radio);
}

bool Button::performClick() {
    requireMainThread("Button::performClick");
    if (!isEnabled) return false;
    switch (buttonType) {
    case ButtonType::switchButton:
    case ButtonType::pushOnPushOff:
    case ButtonType::toggle:
    case ButtonType::onOff:
        state = state == ControlState::on ? ControlState::off : ControlState::on;
        break;
    case ButtonType::radio:
        state = ControlState::on;
        break;
    default:
        break;
    }
    return sendAction();
}

void Button::mouseUp(const NSEvent& event) {
    // Released off the button, the press clicks nothing.
    if (bounds().contains(locationOfEvent(event))) performClick();
}

Size Button::intrinsicContentSize() const {
    double scale = font.pointSize / 13.0;
    double textWidth = TextMetrics::width(title, attributedTitleFont.value_or(font));
    double w = 0, h = 0;
    bool showsImage = image && imagePosition != ImagePosition::noImage;
    if (showsImage) {
        w = image->size().width;
        h = image->size().height;
    }
    if (imagePosition != ImagePosition::imageOnly && !title.empty()) {
        w += textWidth;
        h = std::max(h, 16 * scale);
    }
    if (buttonType == ButtonType::switchButton || buttonType == ButtonType::radio)
        w += 20;
    else if (isBordered)
        w += 24;
    return {w, std::max(h, isBordered ? 22.0 : h)};
}

} // namespace platform::ui
