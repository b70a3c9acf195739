#include "shortcuts/ShortcutDisplay.hpp"

#include <optional>
#include <unordered_map>

namespace tilmora::ShortcutDisplay {

namespace {

using GlobalShortcuts::Key;
using platform::ModifierFlags;

std::string keyGlyph(const std::optional<Key>& key) {
    const std::unordered_map<Key, std::string> glyphs{
        {Key::a, "A"},
        {Key::b, "B"},
        {Key::c, "C"},
        {Key::d, "D"},
        {Key::e, "E"},
        {Key::f, "F"},
        {Key::g, "G"},
        {Key::i, "I"},
        {Key::j, "J"},
        {Key::k, "K"},
        {Key::m, "M"},
        {Key::o, "O"},
        {Key::q, "Q"},
        {Key::r, "R"},
        {Key::s, "S"},
        {Key::t, "T"},
        {Key::u, "U"},
        {Key::leftArrow, "\u2190"},
        {Key::rightArrow, "\u2192"},
        {Key::upArrow, "\u2191"},
        {Key::downArrow, "\u2193"},
        {Key::comma, ","},
        {Key::slash, "/"},
        {Key::return_, "\u21A9"},
        {Key::deleteForward, "\u2326"},
        {Key::equal, "="},
        {Key::minus, "\u2212"},
    };
    if (!key) return "\u2026";
    auto it = glyphs.find(*key);
    return it == glyphs.end() ? "\u2026" : it->second;
}

} // namespace

std::string describe(const GlobalShortcuts::Shortcut& shortcut) {
    std::string text;
    const ModifierFlags flags = shortcut.modifiers();
    if (flags.contains(ModifierFlags::control)) text += "\u2303";
    if (flags.contains(ModifierFlags::option)) text += "\u2325";
    if (flags.contains(ModifierFlags::shift)) text += "\u21E7";
    if (flags.contains(ModifierFlags::command)) text += "\u2318";
    return text + keyGlyph(Key(shortcut.carbonKeyCode));
}

} // namespace tilmora::ShortcutDisplay
