#include "console/StatusMenuReading.hpp"

#include "platform/control/UISimulator.hpp"

namespace tilmora {

using platform::ui::Menu;
using platform::ui::MenuPick;
using platform::ui::UISimulator;

StatusMenuReading::StatusMenuReading(std::function<std::vector<std::string>(Menu&)> choose) {
    // Only this menu's session is read afterwards: the journal of earlier ones is not kept.
    UISimulator::clearMenuLog();
    UISimulator::scriptMenuChoice([opened = opened_, choose = std::move(choose)](Menu& menu) {
        *opened = true;
        return MenuPick{choose(menu), 0.1, nullptr};
    });
}

StatusMenuReading::~StatusMenuReading() {
    if (!*opened_) UISimulator::cancelMenuPicks();
}

} // namespace tilmora
