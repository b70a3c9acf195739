#include "preferences/CheckBox.hpp"

namespace tilmora {

using platform::ui::Button;
using platform::ui::Responder;
using platform::ui::declarative::RepresentableContext;

CheckBox::Coordinator::Coordinator(CheckBox parent)
    : parent(std::move(parent)) {
    registerAction("changed:", [this](Responder* sender) { changed(sender); });
}

void CheckBox::Coordinator::changed(Responder* sender) {
    auto* button = dynamic_cast<Button*>(sender);
    if (!button) return;
    bool value = button->state == platform::ui::ControlState::on;
    parent.isOn.set(value);
    if (parent.onChange) parent.onChange(value);
}

std::shared_ptr<Responder> CheckBox::makeCoordinator() {
    return std::make_shared<Coordinator>(*this);
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
    if (auto coordinator = std::dynamic_pointer_cast<Coordinator>(context.coordinator))
        coordinator->parent = *this;
}

} // namespace tilmora
