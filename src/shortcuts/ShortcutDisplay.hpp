#pragma once

#include "shortcuts/Shortcut.hpp"

#include <string>

namespace tilmora {

/// The compact glyph text of a stored chord for the status menu ("⌃⌥←"). Covers the keys of the
/// first-run chords; any other key shows as "…". Pure; any thread.
namespace ShortcutDisplay {

/// The modifier glyphs in the fixed order ⌃ ⌥ ⇧ ⌘ (function is not shown), then the key's glyph:
/// the upper-case letter for a, b, c, d, e, f, g, i, j, k, m, o, q, r, s, t, u; the arrows ←→↑↓;
/// "," "/" "↩" "⌦" "=" and "−" (U+2212) for comma, slash, return, forward delete, equal and minus.
std::string describe(const GlobalShortcuts::Shortcut& shortcut);

} // namespace ShortcutDisplay

} // namespace tilmora
