#pragma once

#include <cstdint>

namespace tilmora {

/// The one rule by which a snap-grid preset's values are made usable, shared by the display-layout
/// memory's stored presets and the snap grid's own preset type: rows and columns are at least 1, a
/// negative or NaN gutter or padding is 0. Other values (also an infinite gutter or padding, or
/// counts beyond what the grid lays out) pass unchanged; the grid's layout decides about those.
/// Pure; any thread.
namespace PresetNormalization {

/// A row or column count raised to at least 1.
constexpr std::int64_t count(std::int64_t value) {
    return value < 1 ? 1 : value;
}

/// A gutter or padding in points: a negative value or NaN becomes 0.
constexpr double spacing(double value) {
    return value >= 0 ? value : 0.0; // NaN fails the comparison
}

} // namespace PresetNormalization

} // namespace tilmora
