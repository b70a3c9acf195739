#pragma once

#include "platform/ui/declarative/Elements.hpp"
#include "shortcuts/EventType.hpp"
#include "shortcuts/Name.hpp"

#include <functional>

namespace tilmora::GlobalShortcuts {

// Declarative modifiers that tie an element to a shortcut name. Main thread only.

/// Runs `perform` with every press and release of the name's chord while `content` is shown: the
/// subscription (`events`) starts when the element appears and ends when it disappears (the
/// chord's hot key then goes when nothing else uses it). No event arrives while a recorder records.
platform::ui::declarative::Element onKeyboardShortcut(platform::ui::declarative::Element content,
                                                      const Name& name,
                                                      std::function<void(EventType)> perform);
/// The same for events of one type only (`keyUp`: on release only).
platform::ui::declarative::Element onKeyboardShortcut(platform::ui::declarative::Element content,
                                                      const Name& name, EventType type,
                                                      std::function<void()> perform);
/// Identical to `onKeyboardShortcut`.
platform::ui::declarative::Element onGlobalKeyboardShortcut(platform::ui::declarative::Element content,
                                                            const Name& name,
                                                            std::function<void(EventType)> perform);
platform::ui::declarative::Element onGlobalKeyboardShortcut(platform::ui::declarative::Element content,
                                                            const Name& name, EventType type,
                                                            std::function<void()> perform);

/// Gives `content` the name's stored chord as its keyboard shortcut (`toSwiftUI`) and keeps it
/// current: none while any recorder records; when the name's chord changes the content gets a new
/// identity and is built again with the new chord; a change of another name leaves it alone.
platform::ui::declarative::Element globalKeyboardShortcut(platform::ui::declarative::Element content,
                                                          const Name& name);

} // namespace tilmora::GlobalShortcuts
