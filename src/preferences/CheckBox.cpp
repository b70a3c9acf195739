#include "preferences/CheckBox.hpp"

namespace tilmora {

using platform::ui::Button;
using platform::ui::declarative::RepresentableContext;

void CheckBox::changed(Button& button) {
    bool value = button.state == platform::ui::ControlState::on;
    isOn.set(value);
    if (onChange) onChange(value);
}

std::shared_ptr<Button> CheckBox::makeNSView(RepresentableContext& context) {
    // The state is left to the update that follows.
    auto button = Button::checkbox(title, context.coordinator, "changed:");
    button->translatesAutoresizingMaskIntoConstraints = false;
    return button;
}

void CheckBox::updateNSView(Button& button, RepresentableContext& context) {
    if (button.title != title) button.title = title;
    button.state = isOn.get() ? platform::ui::ControlState::on : platform::ui::ControlState::off;
    Coordinator::refresh(context.coordinator, *this);
}

} // namespace tilmora
