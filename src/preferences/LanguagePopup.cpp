#include "preferences/LanguagePopup.hpp"

namespace tilmora {

using platform::ui::PopUpButton;
using platform::ui::Responder;
using platform::ui::declarative::RepresentableContext;

LanguagePopup::Coordinator::Coordinator(LanguagePopup parent)
    : parent(std::move(parent)) {
    registerAction("changed:", [this](Responder* sender) { changed(sender); });
}

void LanguagePopup::Coordinator::changed(Responder* sender) {
    auto* popUp = dynamic_cast<PopUpButton*>(sender);
    if (!popUp) return;
    long index = popUp->indexOfSelectedItem();
    std::string code;
    if (index >= 0 && index < static_cast<long>(parent.options.size()))
        code = parent.options[static_cast<size_t>(index)].code;
    parent.selection.set(code);
    if (parent.onChange) parent.onChange(code);
}

std::shared_ptr<Responder> LanguagePopup::makeCoordinator() {
    return std::make_shared<Coordinator>(*this);
}

std::shared_ptr<PopUpButton> LanguagePopup::makeNSView(RepresentableContext& context) {
    auto popUp = std::make_shared<PopUpButton>(platform::ui::Rect{}, false);
    popUp->pullsDown = false;
    popUp->target = context.coordinator;
    popUp->action = "changed:";
    popUp->translatesAutoresizingMaskIntoConstraints = false;
    return popUp;
}

void LanguagePopup::updateNSView(PopUpButton& popUp, RepresentableContext& context) {
    popUp.removeAllItems();
    for (const auto& option : options)
        popUp.addItem(option.name);
    std::string selected = selection.get();
    long index = 0;
    for (size_t i = 0; i < options.size(); ++i) {
        if (options[i].code == selected) {
            index = static_cast<long>(i);
            break;
        }
    }
    if (index < popUp.numberOfItems()) popUp.selectItemAt(index);
    if (auto coordinator = std::dynamic_pointer_cast<Coordinator>(context.coordinator))
        coordinator->parent = *this;
}

} // namespace tilmora
