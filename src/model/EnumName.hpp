#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace tilmora {

/// One row of an enumeration's name table: a case and the text that stands for it (a raw value, a
/// case name in log lines, a word in console output). A table of these serves both directions, so
/// the name of a case and the case of a name cannot drift apart:
///
///     constexpr EnumName<RemapMode> remapModeNames[] = {{RemapMode::moveOnly, "moveOnly"}, ...};
///     enumName(remapModeNames, mode, "moveOnly");
template <class E>
struct EnumName {
    E value;
    std::string_view name;
};

/// The name of `value` in `table`; `fallback` for a value the table does not hold (a number cast
/// to the enumeration).
template <class E, std::size_t N>
std::string_view enumName(const EnumName<E> (&table)[N], E value, std::string_view fallback) {
    for (const EnumName<E>& row : table) {
        if (row.value == value) return row.name;
    }
    return fallback;
}

/// The first case of `table` named exactly `name` (letter case counts); none for any other text.
template <class E, std::size_t N>
std::optional<E> enumValue(const EnumName<E> (&table)[N], std::string_view name) {
    for (const EnumName<E>& row : table) {
        if (row.name == name) return row.value;
    }
    return std::nullopt;
}

} // namespace tilmora
