#pragma once

#include "platform/ui/declarative/EventModifiers.hpp"
#include "platform/ui/declarative/KeyEquivalent.hpp"

namespace platform::ui::declarative {

/// A keyboard shortcut of a declarative element (a button's key equivalent): the key, the
/// modifiers (command by default) and how the key is adapted to the user's keyboard layout
/// (`automatic`; `custom` leaves the key as given). Pure value; any thread.
struct KeyboardShortcut {
    enum class Localization { automatic, withoutMirroring, custom };

    KeyEquivalent key;
    EventModifiers modifiers = EventModifiers::command;
    Localization localization = Localization::automatic;

    bool operator==(const KeyboardShortcut&) const = default;
};

} // namespace platform::ui::declarative
