#include "shell/AppDelegate.hpp"

#include "shell/commands/DisplayMenuCommands.hpp"

namespace tilmora {

void AppDelegate::moveToDisplayMenuItem(platform::ui::Responder* sender) {
    DisplayMenuCommands(windowCommandContext()).moveToDisplayMenuItem(sender);
}

void AppDelegate::moveFrontmostWindow(const platform::NSScreen& target) {
    DisplayMenuCommands(windowCommandContext()).moveFrontmostWindow(target);
}

void AppDelegate::snapAreaFromMenuItem(platform::ui::Responder* sender) {
    DisplayMenuCommands(windowCommandContext()).snapAreaFromMenuItem(sender);
}

void AppDelegate::applyStoredLayoutForCurrentSetup(platform::ui::Responder*) {
    DisplayMenuCommands(windowCommandContext()).applyStoredLayoutForCurrentSetup();
}

} // namespace tilmora
