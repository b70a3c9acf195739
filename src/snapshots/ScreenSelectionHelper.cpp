#include "snapshots/ScreenSelectionHelper.hpp"

#include "platform/ui/PopUpButton.hpp"

namespace tilmora::WindowManager {

using platform::ui::Button;
namespace ControlState = platform::ui::ControlState;
using platform::ui::Responder;

ScreenSelectionHelper::ScreenSelectionHelper() {
    registerAction("ok:", [this](Responder*) {
        if (onOK) onOK();
    });
    registerAction("changed:", [this](Responder* sender) {
        if (auto* popUp = dynamic_cast<platform::ui::PopUpButton*>(sender))
            selectedIndex = popUp->indexOfSelectedItem();
    });
    registerAction("radioChanged:", [this](Responder* sender) {
        if (auto move = rbMove.lock()) move->state = sender == move.get() ? ControlState::on : ControlState::off;
        if (auto smart = rbSmart.lock())
            smart->state = sender == smart.get() ? ControlState::on : ControlState::off;
    });
}

void ScreenSelectionHelper::windowWillClose(platform::ui::Window&) {
    if (onOK) onOK();
}

} // namespace tilmora::WindowManager
