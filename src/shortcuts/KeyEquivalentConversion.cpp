#include "shortcuts/KeyEquivalentConversion.hpp"

#include "platform/input/ProcessInfo.hpp"

namespace tilmora::GlobalShortcuts {

using platform::ModifierFlags;
using platform::ui::declarative::EventModifiers;
using platform::ui::declarative::KeyboardShortcut;
using platform::ui::declarative::KeyEquivalent;

namespace {

/// The one code point of the UTF-8 text `text`; none when it is empty, malformed or longer.
std::optional<char32_t> singleCodePoint(const std::string& text) {
    if (text.empty()) return std::nullopt;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned char lead = bytes[0];
    std::size_t length = lead < 0x80           ? 1
                         : (lead >> 5) == 0x6  ? 2
                         : (lead >> 4) == 0xE  ? 3
                         : (lead >> 3) == 0x1E ? 4
                                               : 0;
    if (length == 0 || length != text.size()) return std::nullopt;
    char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((bytes[i] & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (bytes[i] & 0x3F);
    }
    return cp;
}

} // namespace

std::optional<KeyEquivalent> swiftUIKeyEquivalent(SpecialKey key) {
    switch (key) {
    case SpecialKey::return_:
        return KeyEquivalent::return_;
    case SpecialKey::delete_:
        return KeyEquivalent::delete_;
    case SpecialKey::deleteForward:
        return KeyEquivalent::deleteForward;
    case SpecialKey::end:
        return KeyEquivalent::end;
    case SpecialKey::escape:
        return KeyEquivalent::escape;
    case SpecialKey::help:
        return KeyEquivalent(U'\xF746');
    case SpecialKey::home:
        return KeyEquivalent::home;
    case SpecialKey::space:
        return KeyEquivalent::space;
    case SpecialKey::tab:
        return KeyEquivalent::tab;
    case SpecialKey::pageUp:
        return KeyEquivalent::pageUp;
    case SpecialKey::pageDown:
        return KeyEquivalent::pageDown;
    case SpecialKey::upArrow:
        return KeyEquivalent::upArrow;
    case SpecialKey::rightArrow:
        return KeyEquivalent::rightArrow;
    case SpecialKey::downArrow:
        return KeyEquivalent::downArrow;
    case SpecialKey::leftArrow:
        return KeyEquivalent::leftArrow;
    default:
        break;
    }
    const int index = static_cast<int>(key) - static_cast<int>(SpecialKey::f1);
    if (index >= 0 && index < 20) return KeyEquivalent(static_cast<char32_t>(0xF704 + index));
    return std::nullopt; // the keypad keys
}

EventModifiers toEventModifiers(ModifierFlags flags) {
    EventModifiers out;
    if (flags.contains(ModifierFlags::capsLock)) out |= EventModifiers::capsLock;
    if (flags.contains(ModifierFlags::command)) out |= EventModifiers::command;
    if (flags.contains(ModifierFlags::control)) out |= EventModifiers::control;
    if (flags.contains(ModifierFlags::numericPad)) out |= EventModifiers::numericPad;
    if (flags.contains(ModifierFlags::option)) out |= EventModifiers::option;
    if (flags.contains(ModifierFlags::shift)) out |= EventModifiers::shift;
    if (flags.contains(ModifierFlags::function)) out |= function_nonDeprecated;
    return out;
}

std::optional<KeyboardShortcut> toSwiftUI(const Shortcut& shortcut) {
    std::optional<KeyEquivalent> key;
    if (auto special = specialKey(Key(shortcut.carbonKeyCode))) {
        key = swiftUIKeyEquivalent(*special);
    } else if (auto character = shortcut.keyToCharacter()) {
        if (auto cp = singleCodePoint(*character)) key = KeyEquivalent(*cp);
    }
    if (!key) return std::nullopt;
    KeyboardShortcut result{*key, toEventModifiers(shortcut.modifiers())};
    if (platform::ProcessInfo::processInfo().isOperatingSystemAtLeast({12, 0, 0}))
        result.localization = KeyboardShortcut::Localization::custom;
    return result;
}

} // namespace tilmora::GlobalShortcuts
