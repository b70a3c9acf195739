#pragma once

#include "shortcuts/Name.hpp"
#include "shortcuts/Shortcut.hpp"

#include <memory>
#include <optional>

namespace platform::ui {
class MenuItem;
}

namespace tilmora::GlobalShortcuts {

/// Gives `item` the chord's menu key equivalent (empty when the chord has none) and its modifiers;
/// none empties both. From OS 12 on the item's automatic key-equivalent localization is off while
/// it has a chord and on without one. Main thread.
void setShortcut(platform::ui::MenuItem& item, const std::optional<Shortcut>& shortcut);

/// Binds `item` to `name`: it shows the name's stored chord now and follows every later change of
/// it (store, clear, reset, a recorder), applied on the main queue; a change of another name leaves
/// it alone. Binding again replaces the earlier binding. With none the item is unbound and its key
/// equivalent emptied. The binding ends when the item goes. Main thread.
void setShortcutForName(const std::shared_ptr<platform::ui::MenuItem>& item, const std::optional<Name>& name);

/// Whether `item` is bound to a name now.
bool isBoundToName(const std::shared_ptr<platform::ui::MenuItem>& item);

} // namespace tilmora::GlobalShortcuts
