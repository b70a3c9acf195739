#pragma once

#include "shortcuts/Key.hpp"

#include <optional>
#include <string>
#include <unordered_map>

namespace tilmora::GlobalShortcuts {

/// The keys that never go through the keyboard layout: they present with a glyph of their own
/// and have fixed menu key equivalents. 53 cases; each is reached from the `Key` constant of the
/// same name.
enum class SpecialKey {
    return_,
    delete_,
    deleteForward,
    end,
    escape,
    help,
    home,
    space,
    tab,
    pageUp,
    pageDown,
    upArrow,
    rightArrow,
    downArrow,
    leftArrow,
    f1,
    f2,
    f3,
    f4,
    f5,
    f6,
    f7,
    f8,
    f9,
    f10,
    f11,
    f12,
    f13,
    f14,
    f15,
    f16,
    f17,
    f18,
    f19,
    f20,
    keypad0,
    keypad1,
    keypad2,
    keypad3,
    keypad4,
    keypad5,
    keypad6,
    keypad7,
    keypad8,
    keypad9,
    keypadClear,
    keypadDecimal,
    keypadDivide,
    keypadEnter,
    keypadEquals,
    keypadMinus,
    keypadMultiply,
    keypadPlus,
};

/// Key to special key, built once on first use: exactly 53 entries. A key code is special when it
/// is a key of this table. Any thread.
const std::unordered_map<Key, SpecialKey>& keyToSpecialKeyMapping();

/// The special key of `key`; none for letters, digits, punctuation, modifier and media keys.
std::optional<SpecialKey> specialKey(Key key);

/// The glyph shown for the key: "←" for `leftArrow`, "F5" for `f5`, "5⃣" for `keypad5`; `space`
/// shows the module bundle's "space_key" text, capitalized. Any thread.
std::string presentableDescription(SpecialKey key);

/// The key equivalent a menu item uses for the key: the glyph for the arrows and editing keys, a
/// plain space for `space`, the function-key characters U+F704 ... U+F717 for F1 ... F20; none
/// for the keypad keys. Pure; any thread.
std::optional<std::string> appKitMenuItemKeyEquivalent(SpecialKey key);

/// The character of the Unicode scalar `value` as UTF-8 text; none when the value is negative,
/// above U+10FFFF or a surrogate code point. Pure; any thread.
std::optional<std::string> characterFromUnicodeScalarValue(std::int64_t value);

} // namespace tilmora::GlobalShortcuts
