#include "shortcuts/AlertPresentation.hpp"

#include "platform/ui/Alert.hpp"
#include "platform/ui/Application.hpp"

namespace tilmora::GlobalShortcuts {

long runModal(platform::ui::Alert& alert, platform::ui::Window* window) {
    if (!window) return alert.runModal();
    alert.beginSheetModal(*window,
                          [](long response) { platform::ui::Application::shared().stopModal(response); });
    return platform::ui::Application::shared().runModal(*window);
}

} // namespace tilmora::GlobalShortcuts
