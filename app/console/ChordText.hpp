#pragma once

#include "platform/input/KeyChord.hpp"

#include <string>

namespace tilmora {

/// The chords `key` takes: words joined by "+" ("ctrl+opt+left", as `KeyChord` reads them), or
/// the glyphs the menu prints for a chord, modifiers first ("⌃⌥←", "⇧⌘O", "⌃⌥⌦", "⌘Space").
/// Main thread (pure).
class ChordText {
public:
    /// The chord `text` names. Throws `CommandError` naming the part it does not know, with the
    /// nearest names when some are near: "unknown key "lef" in ctrl+opt+lef; did you mean left?
    /// (`help keys` lists them)", "unknown key "zz" in ctrl+zz: see `help keys`", "unknown modifier
    /// ...", or "a chord needs a key after its modifiers: ctrl+opt ...".
    static platform::KeyChord parse(const std::string& text);
    /// The text of `help keys`: the modifiers, the key names and the glyphs, each line ending in
    /// "\n".
    static std::string helpText();
};

} // namespace tilmora
