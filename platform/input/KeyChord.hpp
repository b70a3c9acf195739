#pragma once

#include "platform/input/ModifierFlags.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

/// A key chord as people write it: modifier words and one key joined by "+", case-insensitive:
/// "ctrl+opt+left", "cmd+shift+f5", "a", "space". Modifiers: ctrl/control, opt/option/alt, shift,
/// cmd/command, fn/function, caps/capslock. Keys: letters, digits, f1 ... f20, the arrows (left,
/// right, up, down, or leftArrow ...), return/enter, tab, space, escape/esc, delete/backspace,
/// forwarddelete/deleteForward, home, end, pageup, pagedown, help, the punctuation characters or
/// their names (minus, equal, comma, period, slash, backslash, semicolon, quote, backtick,
/// leftBracket, rightBracket), keypad0 ... keypad9 and the other keypad keys, the modifier keys
/// themselves, mute/volumeUp/volumeDown, and "keycode:N" for any virtual key code. Pure; any thread.
struct KeyChord {
    std::uint16_t keyCode = 0;
    /// The modifier keys held (only control, option, shift, command, function and caps lock).
    ModifierFlags modifiers;

    /// None when a part is unknown, empty or a key is missing or repeated.
    static std::optional<KeyChord> parse(std::string_view text);
    /// The virtual key code of a key name (as `parse` accepts them); none when unknown.
    static std::optional<std::uint16_t> keyCodeForName(std::string_view name);
    /// Every key name `parse` takes (lower case, in a fixed order; "keycode:N" not included).
    static std::vector<std::string_view> keyNames();
    /// Every modifier name `parse` takes ("ctrl", "control", "opt", ...).
    static std::vector<std::string_view> modifierNames();
    /// "ctrl+opt+left"-style text (modifiers in the order ctrl, opt, shift, cmd, fn, caps).
    std::string description() const;

    bool operator==(const KeyChord&) const = default;
};

} // namespace platform
