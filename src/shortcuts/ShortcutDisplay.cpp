#include "shortcuts/ShortcutDisplay.hpp"

#include <array>
#include <string_view>
#include <utility>

namespace tilmora::ShortcutDisplay {

namespace {

using GlobalShortcuts::Key;
using platform::ModifierFlags;

// The glyph of each key the first-run chords use; a fixed table, so a description allocates only
// its own text.
constexpr std::array<std::pair<Key, std::string_view>, 27> glyphs{{
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
}};

std::string_view keyGlyph(Key key) {
    for (const auto& [known, glyph] : glyphs)
        if (known == key) return glyph;
    return "\u2026";
}

} // namespace

std::string describe(const GlobalShortcuts::Shortcut& shortcut) {
    std::string text;
    const ModifierFlags flags = shortcut.modifiers();
    if (flags.contains(ModifierFlags::control)) text += "\u2303";
    if (flags.contains(ModifierFlags::option)) text += "\u2325";
    if (flags.contains(ModifierFlags::shift)) text += "\u21E7";
    if (flags.contains(ModifierFlags::command)) text += "\u2318";
    text += keyGlyph(Key(shortcut.carbonKeyCode));
    return text;
}

} // namespace tilmora::ShortcutDisplay
