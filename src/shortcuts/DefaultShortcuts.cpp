#include "shortcuts/DefaultShortcuts.hpp"

#include "platform/foundation/UserDefaults.hpp"
#include "shortcuts/NameRow.hpp"
#include "shortcuts/Registry.hpp"

#include <algorithm>
#include <vector>

namespace tilmora {

namespace {

using GlobalShortcuts::FirstRunGroup;
using GlobalShortcuts::Name;
using GlobalShortcuts::NameRow;
using GlobalShortcuts::Shortcut;

/// The catalog's rows of `group`, in the order they are considered.
const std::vector<const NameRow*>& rowsOf(FirstRunGroup group) {
    static const auto byGroup = [] {
        std::vector<std::vector<const NameRow*>> lists(3);
        for (const NameRow& row : NameRow::all()) lists[static_cast<std::size_t>(row.group)].push_back(&row);
        for (auto& list : lists)
            std::sort(list.begin(), list.end(), [](const NameRow* a, const NameRow* b) { return a->order < b->order; });
        return lists;
    }();
    return byGroup[static_cast<std::size_t>(group)];
}

} // namespace

void registerDefaultSnapShortcutsIfNeeded() {
    auto& defaults = platform::UserDefaults::standard();
    const std::string snapFlag(hasRegisteredDefaultSnapShortcutsKey);
    const bool snapDefaultsDone = defaults.boolForKey(snapFlag);

    if (!snapDefaultsDone) {
        for (const NameRow* row : rowsOf(FirstRunGroup::snapCommands)) {
            const Name& name = row->name();
            if (!GlobalShortcuts::getShortcut(name)) GlobalShortcuts::setShortcut(row->firstRunChord(), name);
        }
        defaults.set(platform::PropertyValue(true), snapFlag);
    }

    for (const NameRow* row : rowsOf(FirstRunGroup::laterCommands)) {
        const Name& name = row->name();
        const std::string flag = std::string(hasRegisteredDefaultShortcutPrefix) + name.rawValue;
        if (defaults.boolForKey(flag)) continue;
        if (!snapDefaultsDone && !GlobalShortcuts::getShortcut(name))
            GlobalShortcuts::setShortcut(row->firstRunChord(), name);
        defaults.set(platform::PropertyValue(true), flag);
    }
}

std::optional<Shortcut> firstRunShortcut(const Name& name) {
    const NameRow* row = NameRow::of(name);
    return row ? row->firstRunChord() : std::nullopt;
}

} // namespace tilmora
