#include "preferences/LanguagePopup.hpp"

namespace tilmora {

using platform::ui::PopUpButton;

void LanguagePopup::changed(PopUpButton& popUp) {
    long index = popUp.indexOfSelectedItem();
    std::string code;
    if (index >= 0 && index < static_cast<long>(options.size()))
        code = options[static_cast<size_t>(index)].code;
    selection.set(code);
    if (onChange) onChange(code);
}

std::shared_ptr<PopUpButton> LanguagePopup::make(const std::shared_ptr<platform::ui::Responder>& target) const {
    auto popUp = std::make_shared<PopUpButton>(platform::ui::Rect{}, false);
    popUp->pullsDown = false;
    popUp->target = target;
    popUp->action = "changed:";
    popUp->translatesAutoresizingMaskIntoConstraints = false;
    return popUp;
}

void LanguagePopup::update(PopUpButton& popUp) const {
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
}

} // namespace tilmora
