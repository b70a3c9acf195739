#pragma once

#include "shortcuts/Name.hpp"
#include "shortcuts/Shortcut.hpp"

#include <optional>
#include <string_view>

namespace tilmora {

/// The standard-defaults flag set once the first-run chords of the snap commands were stored.
inline constexpr std::string_view hasRegisteredDefaultSnapShortcutsKey =
    "HasRegisteredDefaultSnapShortcutsV1";
/// The prefix of the per-name flags of the later first-run chords ("HasRegisteredDefaultShortcut." +
/// raw value).
inline constexpr std::string_view hasRegisteredDefaultShortcutPrefix = "HasRegisteredDefaultShortcut.";

/// Gives the catalog's names their first-run chords, once, never replacing a chord the user set:
/// - while "HasRegisteredDefaultSnapShortcutsV1" is not true: each of the 22 snap and display names
///   without a chord (none stored, or cleared) gets its default, then the flag becomes true;
/// - each of the 8 later names whose flag "HasRegisteredDefaultShortcut.<raw value>" is not true
///   gets its default only when the snap flag was not set on entry and it has no chord; its flag
///   then becomes true either way.
/// Control-Option-G is the default of both `snapRightThird` and `toggleIntegrateStageManager`.
/// Main thread; logs nothing.
void registerDefaultSnapShortcutsIfNeeded();

/// The first-run chord the catalog gives `name`; none for the 31 names without one. Pure.
std::optional<GlobalShortcuts::Shortcut> firstRunShortcut(const GlobalShortcuts::Name& name);

} // namespace tilmora
