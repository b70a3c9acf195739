#pragma once

#include "shortcuts/Key.hpp"
#include "shortcuts/Name.hpp"
#include "shortcuts/Shortcut.hpp"

#include "platform/input/ModifierFlags.hpp"

#include <optional>
#include <span>
#include <string_view>

namespace tilmora::GlobalShortcuts {

/// When a catalog name receives its first-run chord (`registerDefaultSnapShortcutsIfNeeded`).
enum class FirstRunGroup {
    none,          ///< no first-run chord
    snapCommands,  ///< the snap and display commands, given their chords together once
    laterCommands, ///< the names added later, each considered once under its own flag
};

/// One row of the program's shortcut catalog: the static constant that names it, its raw value,
/// and its first-run chord with the group that gives it (and its place in that group's order).
/// The catalog's rows are the only place these are written. Pure value; any thread.
struct NameRow {
    const Name& (*name)();
    std::string_view rawValue;
    FirstRunGroup group = FirstRunGroup::none;
    /// The row's place among its group's names, in the order they are considered (from 1).
    int order = 0;
    Key key{};
    platform::ModifierFlags modifiers{};

    /// The first-run chord; none for the rows of no group.
    std::optional<Shortcut> firstRunChord() const {
        if (group == FirstRunGroup::none) return std::nullopt;
        return Shortcut(key, modifiers);
    }

    /// The 61 rows, in catalog order (the order of `Name::catalog()`).
    static std::span<const NameRow> all();
    /// The row of `name` (by raw value); null for a name outside the catalog.
    static const NameRow* of(const Name& name);
};

} // namespace tilmora::GlobalShortcuts
