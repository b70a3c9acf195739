#include "preferences/CheckBox.hpp"

namespace tilmora {

using platform::ui::Button;

void CheckBox::changed(Button& button) {
    bool value = button.state == platform::ui::ControlState::on;
    isOn.set(value);
    if (onChange) onChange(value);
}

std::shared_ptr<Button> CheckBox::make(const std::shared_ptr<platform::ui::Responder>& target) const {
    // The state is left to the update that follows.
    auto button = Button::checkbox(title, target, "changed:");
    button->translatesAutoresizingMaskIntoConstraints = false;
    return button;
}

void CheckBox::update(Button& button) const {
    if (button.title != title) button.title = title;
    button.state = isOn.get() ? platform::ui::ControlState::on : platform::ui::ControlState::off;
}

} // namespace tilmora
