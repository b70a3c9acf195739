#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace tilmora {

/// A grid preset of one display (the snap grid's `RoriDeru::Preset`): rows and columns of cells with
/// a gutter between them. Build it with the constructor, which raises rows and cols below 1 to 1
/// and turns a negative or NaN gutter or padding into 0 (the rule of `PresetNormalization`, which
/// the display-layout memory's stored presets share); every preset the system builds goes through
/// it. Equal when all four fields are equal. Any thread.
struct GridPreset {
    std::int64_t rows = 1;
    std::int64_t cols = 1;
    /// Space between neighbouring cells, points.
    double gutter = 0;
    /// Inset of a chosen tile on every side at the drop and in the live resize, points; it does not
    /// shape the tiles.
    double padding = 0;

    /// Largest number of rows or of columns the layout lays out: a preset beyond it, from whatever
    /// route, is laid out as `fallback()`, and a stored text beyond it reads as `fallback()`.
    static constexpr std::int64_t maxCount = 64;

    /// The preset of a display without a stored one, or with a malformed one: 2 x 2, no gutter, no
    /// padding.
    static GridPreset fallback() { return GridPreset(2, 2, 0, 0); }

    GridPreset() = default;
    GridPreset(std::int64_t rows, std::int64_t cols, double gutter, double padding);

    friend bool operator==(const GridPreset&, const GridPreset&) = default;
};

} // namespace tilmora

/// Combines the four fields in order; a zero gutter or padding hashes like +0.
template <>
struct std::hash<tilmora::GridPreset> {
    std::size_t operator()(const tilmora::GridPreset& preset) const noexcept;
};
