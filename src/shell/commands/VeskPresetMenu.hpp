#pragma once

#include "model/Layout.hpp"
#include "model/ProfileAwareLayoutStore.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/ui/Menu.hpp"
#include "platform/ui/Responder.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tilmora {

/// The status menu's "Custom Layouts" section: the preset grids of one display, single tiles then
/// grids, each under its header and sorted by name, the display's selected preset checked; each
/// item sends `applyVeskPresetFromMenu:` to the target with a `VeskPresetCommands::MenuSelection`.
/// It keeps the layouts it read last with the stamp of the layout file they came from. Main thread.
class VeskPresetMenu {
public:
    /// `layouts` gives the shell's layouts and `target` the items' target; both are called only
    /// while this menu lives.
    VeskPresetMenu(std::function<std::shared_ptr<ProfileAwareLayoutStore>()> layouts,
                   std::function<std::shared_ptr<platform::ui::Responder>()> target, platform::UserDefaults& defaults);

    /// Every stored layout for a status-menu build: read once per build, or taken from the last
    /// build while the layout file is unchanged on disk (size, modification time and identity; a
    /// file modified within a second of that read is read again). Empty when the store cannot be
    /// read.
    std::shared_ptr<const std::vector<Layout>> layoutsForMenu();
    /// Adds a separator and the "Custom Layouts" item when the display of `screen` has stored
    /// layouts (none: nothing). Its submenu is made empty and fills itself when first updated
    /// (opened or read), so a menu build does not grow with the layouts.
    void addSection(platform::ui::Menu& menu, const std::optional<platform::NSScreen>& screen);

private:
    struct State;
    std::shared_ptr<State> state_;
};

} // namespace tilmora
