#pragma once

#include "platform/input/ModifierFlags.hpp"
#include "platform/ui/declarative/KeyboardShortcut.hpp"
#include "shortcuts/Shortcut.hpp"
#include "shortcuts/SpecialKey.hpp"

#include <optional>

namespace tilmora::GlobalShortcuts {

// The declarative side's forms of chords. Pure; any thread (`toSwiftUI` reads the keyboard
// layout and the OS version).

/// The function key as a declarative event modifier (raw value 64).
inline constexpr platform::ui::declarative::EventModifiers function_nonDeprecated{64};

/// The declarative key equivalent of a special key: the named keys (return, delete, arrows, ...),
/// U+F746 for help, the function-key characters U+F704 ... U+F717 for F1 ... F20; none for the
/// keypad keys.
std::optional<platform::ui::declarative::KeyEquivalent> swiftUIKeyEquivalent(SpecialKey key);

/// The declarative modifiers of event flags: caps lock, command, control, numeric pad, option,
/// shift, and function as `function_nonDeprecated`; other flags are dropped.
platform::ui::declarative::EventModifiers toEventModifiers(platform::ModifierFlags flags);

/// The chord as a declarative keyboard shortcut: the special key's equivalent, or the character
/// the key types on the current layout; none when there is no key equivalent (keypad keys, a key
/// the layout maps to nothing or to more than one character). From OS 12 on the shortcut is made
/// with custom localization (the key stays as given), before with the automatic one.
std::optional<platform::ui::declarative::KeyboardShortcut> toSwiftUI(const Shortcut& shortcut);

} // namespace tilmora::GlobalShortcuts
