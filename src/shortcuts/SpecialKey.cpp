#include "shortcuts/SpecialKey.hpp"

#include "platform/foundation/Text.hpp"
#include "shortcuts/ShortcutsBundle.hpp"

namespace tilmora::GlobalShortcuts {

namespace {

struct Entry {
    Key key;
    SpecialKey special;
};

constexpr Entry entries[] = {
    {Key::return_, SpecialKey::return_},
    {Key::delete_, SpecialKey::delete_},
    {Key::deleteForward, SpecialKey::deleteForward},
    {Key::end, SpecialKey::end},
    {Key::escape, SpecialKey::escape},
    {Key::help, SpecialKey::help},
    {Key::home, SpecialKey::home},
    {Key::space, SpecialKey::space},
    {Key::tab, SpecialKey::tab},
    {Key::pageUp, SpecialKey::pageUp},
    {Key::pageDown, SpecialKey::pageDown},
    {Key::upArrow, SpecialKey::upArrow},
    {Key::rightArrow, SpecialKey::rightArrow},
    {Key::downArrow, SpecialKey::downArrow},
    {Key::leftArrow, SpecialKey::leftArrow},
    {Key::f1, SpecialKey::f1},
    {Key::f2, SpecialKey::f2},
    {Key::f3, SpecialKey::f3},
    {Key::f4, SpecialKey::f4},
    {Key::f5, SpecialKey::f5},
    {Key::f6, SpecialKey::f6},
    {Key::f7, SpecialKey::f7},
    {Key::f8, SpecialKey::f8},
    {Key::f9, SpecialKey::f9},
    {Key::f10, SpecialKey::f10},
    {Key::f11, SpecialKey::f11},
    {Key::f12, SpecialKey::f12},
    {Key::f13, SpecialKey::f13},
    {Key::f14, SpecialKey::f14},
    {Key::f15, SpecialKey::f15},
    {Key::f16, SpecialKey::f16},
    {Key::f17, SpecialKey::f17},
    {Key::f18, SpecialKey::f18},
    {Key::f19, SpecialKey::f19},
    {Key::f20, SpecialKey::f20},
    {Key::keypad0, SpecialKey::keypad0},
    {Key::keypad1, SpecialKey::keypad1},
    {Key::keypad2, SpecialKey::keypad2},
    {Key::keypad3, SpecialKey::keypad3},
    {Key::keypad4, SpecialKey::keypad4},
    {Key::keypad5, SpecialKey::keypad5},
    {Key::keypad6, SpecialKey::keypad6},
    {Key::keypad7, SpecialKey::keypad7},
    {Key::keypad8, SpecialKey::keypad8},
    {Key::keypad9, SpecialKey::keypad9},
    {Key::keypadClear, SpecialKey::keypadClear},
    {Key::keypadDecimal, SpecialKey::keypadDecimal},
    {Key::keypadDivide, SpecialKey::keypadDivide},
    {Key::keypadEnter, SpecialKey::keypadEnter},
    {Key::keypadEquals, SpecialKey::keypadEquals},
    {Key::keypadMinus, SpecialKey::keypadMinus},
    {Key::keypadMultiply, SpecialKey::keypadMultiply},
    {Key::keypadPlus, SpecialKey::keypadPlus},
};

constexpr int functionKeyNumber(SpecialKey key) {
    return static_cast<int>(key) - static_cast<int>(SpecialKey::f1) + 1;
}

constexpr bool isFunctionKey(SpecialKey key) {
    return static_cast<int>(key) >= static_cast<int>(SpecialKey::f1) &&
           static_cast<int>(key) <= static_cast<int>(SpecialKey::f20);
}

std::string functionKeyCharacter(SpecialKey key) {
    // U+F704 is F1 ... U+F717 is F20.
    return *characterFromUnicodeScalarValue(0xF703 + functionKeyNumber(key));
}

} // namespace

const std::unordered_map<Key, SpecialKey>& keyToSpecialKeyMapping() {
    static const std::unordered_map<Key, SpecialKey> mapping = [] {
        std::unordered_map<Key, SpecialKey> m;
        for (const auto& e : entries)
            m.emplace(e.key, e.special);
        return m;
    }();
    return mapping;
}

std::optional<SpecialKey> specialKey(Key key) {
    const auto& mapping = keyToSpecialKeyMapping();
    if (auto it = mapping.find(key); it != mapping.end()) return it->second;
    return std::nullopt;
}

std::string presentableDescription(SpecialKey key) {
    if (isFunctionKey(key)) return "F" + std::to_string(functionKeyNumber(key));
    switch (key) {
    case SpecialKey::return_:
        return "\u21A9";
    case SpecialKey::delete_:
        return "\u232B";
    case SpecialKey::deleteForward:
        return "\u2326";
    case SpecialKey::end:
        return "\u2198";
    case SpecialKey::escape:
        return "\u238B";
    case SpecialKey::help:
        return "?\u20DD";
    case SpecialKey::home:
        return "\u2196";
    case SpecialKey::space:
        return platform::Text::capitalized(ShortcutsBundle::module().localizedString("space_key"));
    case SpecialKey::tab:
        return "\u21E5";
    case SpecialKey::pageUp:
        return "\u21DE";
    case SpecialKey::pageDown:
        return "\u21DF";
    case SpecialKey::upArrow:
        return "\u2191";
    case SpecialKey::rightArrow:
        return "\u2192";
    case SpecialKey::downArrow:
        return "\u2193";
    case SpecialKey::leftArrow:
        return "\u2190";
    case SpecialKey::keypad0:
        return "0\u20E3";
    case SpecialKey::keypad1:
        return "1\u20E3";
    case SpecialKey::keypad2:
        return "2\u20E3";
    case SpecialKey::keypad3:
        return "3\u20E3";
    case SpecialKey::keypad4:
        return "4\u20E3";
    case SpecialKey::keypad5:
        return "5\u20E3";
    case SpecialKey::keypad6:
        return "6\u20E3";
    case SpecialKey::keypad7:
        return "7\u20E3";
    case SpecialKey::keypad8:
        return "8\u20E3";
    case SpecialKey::keypad9:
        return "9\u20E3";
    case SpecialKey::keypadClear:
        return "\u2612\u20E3";
    case SpecialKey::keypadDecimal:
        return ".\u20E3";
    case SpecialKey::keypadDivide:
        return "/\u20E3";
    case SpecialKey::keypadEnter:
        return "\u21A9\u20E3";
    case SpecialKey::keypadEquals:
        return "=\u20E3";
    case SpecialKey::keypadMinus:
        return "-\u20E3";
    case SpecialKey::keypadMultiply:
        return "*\u20E3";
    case SpecialKey::keypadPlus:
        return "+\u20E3";
    default:
        return {};
    }
}

std::optional<std::string> appKitMenuItemKeyEquivalent(SpecialKey key) {
    if (isFunctionKey(key)) return functionKeyCharacter(key);
    switch (key) {
    case SpecialKey::space:
        return std::string(" ");
    case SpecialKey::return_:
    case SpecialKey::delete_:
    case SpecialKey::deleteForward:
    case SpecialKey::end:
    case SpecialKey::escape:
    case SpecialKey::help:
    case SpecialKey::home:
    case SpecialKey::tab:
    case SpecialKey::pageUp:
    case SpecialKey::pageDown:
    case SpecialKey::upArrow:
    case SpecialKey::rightArrow:
    case SpecialKey::downArrow:
    case SpecialKey::leftArrow:
        return presentableDescription(key);
    default:
        return std::nullopt; // the keypad keys
    }
}

std::optional<std::string> characterFromUnicodeScalarValue(std::int64_t value) {
    if (value < 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return std::nullopt;
    std::string text;
    platform::Text::appendUtf8(text, static_cast<char32_t>(value));
    return text;
}

} // namespace tilmora::GlobalShortcuts
