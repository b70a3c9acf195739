#pragma once

#include "model/Rect.hpp"
#include "model/SnapIconKind.hpp"
#include "platform/desktop/NSScreen.hpp"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tilmora {

/// The snap grid: the one coordinator of drag snapping, per-display grid presets, overlays and the
/// selected snap kind. This part of it holds the placement geometry (the rectangle of each snap kind,
/// gaps, pixel alignment, clamping) and the grid presets (storage, parsing, tile layout, tile
/// picking). Main thread only; nothing here takes a lock.
///
/// Rectangles are in global coordinates, points, origin at the bottom-left of the main display,
/// y up (the coordinates of a screen's frame and visible frame).
class RoriDeru {
public:
    /// A grid preset of one display. Build it with the constructor, which raises rows and cols below 1
    /// to 1 and turns a negative or NaN gutter or padding into 0.
    struct Preset {
        std::int64_t rows = 1;
        std::int64_t cols = 1;
        /// Space between neighbouring cells, points.
        double gutter = 0;
        /// Inset of a chosen tile on every side at the drop and in the live resize, points; it does
        /// not shape the tiles.
        double padding = 0;

        Preset() = default;
        Preset(std::int64_t rows, std::int64_t cols, double gutter, double padding);

        friend bool operator==(const Preset&, const Preset&) = default;
    };

    /// Cell boundaries of a display as fractions of its visible frame, measured from the left and the
    /// bottom edges; they replace the even grid when `xs` has cols + 1 and `ys` rows + 1 values.
    struct PresetEdges {
        std::vector<double> xs;
        std::vector<double> ys;
        friend bool operator==(const PresetEdges&, const PresetEdges&) = default;
    };

    /// Cell positions and sizes of an even grid, points: columns left to right, rows bottom up.
    struct GridMetrics {
        std::vector<double> colXs;
        std::vector<double> colWidths;
        std::vector<double> rowYs;
        std::vector<double> rowHeights;
    };

    /// Row and column of a tile, both counted from 1.
    struct RowCol {
        std::int64_t row = 0;
        std::int64_t col = 0;
        friend bool operator==(const RowCol&, const RowCol&) = default;
    };

    /// The gap settings as read at one moment: the horizontal and vertical gaps (points, never
    /// negative or NaN), the four screen-edge switches and whether the whole-frame kinds get gaps.
    struct GapSettings {
        double horizontal = 0;
        double vertical = 0;
        bool left = false;
        bool right = false;
        bool top = false;
        bool bottom = false;
        bool applyToMaximize = false;
    };

    /// The preset of a display without a stored one, or with a malformed one: 2 x 2, no gutter, no
    /// padding.
    static Preset fallbackPreset() { return Preset(2, 2, 0, 0); }
    /// Largest number of rows or of columns of a preset: larger stored values are malformed, and the
    /// layout treats larger counts as the fallback preset.
    static constexpr std::int64_t maxStoredGridCount = 64;

    /// The one snap grid of the process, created on first use (safe from any thread; use it on the
    /// main thread).
    static RoriDeru& shared();
    /// Drops the shared instance so the next `shared()` builds a fresh one (tests).
    static void resetShared();

    RoriDeru() = default;
    RoriDeru(const RoriDeru&) = delete;
    RoriDeru& operator=(const RoriDeru&) = delete;

    // MARK: Snap-kind geometry

    /// The frame that snapping uses on `screen`: its visible frame, narrowed by the Stage Manager
    /// reserve when it is the primary screen (the first of the screen list) and the settings ask for
    /// it. Points, global coordinates.
    Rect adjustedVisibleFrame(const platform::NSScreen& screen) const;

    /// The rectangle of `kind` inside the visible frame `visible` (points, global coordinates), with
    /// the gap settings of the standard user defaults applied where the kind takes gaps.
    Rect computeRectForVisible(SnapIconKind kind, const Rect& visible) const;
    /// The same with the gap settings given.
    static Rect computeRectForVisible(SnapIconKind kind, const Rect& visible, const GapSettings& gaps);

    /// Insets a placed rectangle by the gap settings of the standard user defaults, relative to the
    /// visible frame it was cut from; the result is clamped into that frame.
    Rect applyGaps(const Rect& rect, const Rect& visible) const;
    /// The same with the gap settings given.
    static Rect applyGaps(const Rect& rect, const Rect& visible, const GapSettings& gaps);

    /// Reads "WMGapSize", "WMGapHorizontal", "WMGapVertical", "WMGapsIncludeScreenEdges", the four
    /// "WMGapsEdges..." switches and "WMApplyGapsToMaximize" from the standard user defaults.
    static GapSettings currentGapSettings();

    /// Moves the four edges of `rect` onto the device-pixel grid of a screen with backing scale
    /// `scale` (a scale below 1 or NaN counts as 1). Width and height never go below 0.
    static Rect alignRectToPixelEdges(const Rect& rect, double scale);

    /// Pulls the lower-left corner of `rect` into `bounds` and trims its size so that it does not reach
    /// past the right and top edges of `bounds`. A rectangle that starts beyond the right or the top
    /// edge is moved back so that its edge lies on the bounds' edge, never given a negative size.
    static Rect clamp(const Rect& rect, const Rect& bounds);

    // MARK: Grid presets and tiles

    /// The stored text of a preset: rows, cols, gutter and padding joined by "," ("2,3,8.0,0.0").
    static std::string presetText(const Preset& preset);
    /// Reads a stored preset text; absent when it is malformed (not exactly four numbers, or rows or
    /// cols not finite or above `maxStoredGridCount`). Logs the absurd case once per text.
    static std::optional<Preset> parsePreset(std::string_view text);
    /// The user-defaults key of a display's preset: "WMPreset_" + display number.
    static std::string presetKey(std::uint32_t displayID);

    /// Writes `preset` under the display's key in the standard user defaults; does nothing without a
    /// display number.
    void savePreset(const Preset& preset, std::optional<std::uint32_t> displayID);
    /// The stored preset of a display, or `fallbackPreset()` without a display number, without a
    /// stored value or with a malformed one (the stored value is left unchanged).
    Preset loadPreset(std::optional<std::uint32_t> displayID) const;

    /// `savePreset` under the screen's display number (`tlm_displayID`).
    void savePreset(const Preset& preset, const platform::NSScreen& screen);
    /// `loadPreset` of the screen's display number (`tlm_displayID`).
    Preset loadPreset(const platform::NSScreen& screen) const;

    /// Lays out `rows` x `cols` cells over `rect` with `gutter` points between cells, whole device
    /// pixels of `scale` (below 1 or NaN counts as 1). Rows and cols must be at least 1. Rows or cols
    /// above `maxStoredGridCount`, or a gutter that is not finite, lay out the fallback 2 x 2 grid
    /// without a gutter instead, logged once per such shape ("[RoriDeru] Ignoring grid layout ...").
    static GridMetrics gridMetrics(const Rect& rect, std::int64_t rows, std::int64_t cols, double gutter,
                                   double scale);

    /// The tile rectangles of `preset` over the visible frame `visible` of a display with backing
    /// scale `scale`, row by row from the bottom row, columns left to right (index r * cols + c).
    /// The display's custom edges replace the even grid when they fit the preset. A preset with rows
    /// or cols above `maxStoredGridCount`, or a gutter that is not finite, is laid out as the fallback
    /// 2 x 2 grid without a gutter (4 tiles), logged once per such shape.
    std::vector<Rect> tiles(const Rect& visible, double scale, std::optional<std::uint32_t> displayID,
                            const Preset& preset) const;

    /// The tiles of `preset` on `screen`: over its visible frame (not the adjusted frame), with its
    /// backing scale and its display number's custom edges.
    std::vector<Rect> tiles(const platform::NSScreen& screen, const Preset& preset) const;

    /// The tile a window rectangle snaps to: the first tile with an edge closer than `threshold`
    /// points, else the tile with the largest overlap (the first tile when none overlaps); absent
    /// only for an empty list.
    static std::optional<Rect> pickSnapTile(const Rect& windowRect, const std::vector<Rect>& tiles,
                                            double threshold);

    /// Row and column (from 1) of the first tile equal to `tile`; absent when no tile equals it.
    static std::optional<RowCol> rowCol(const Rect& tile, const std::vector<Rect>& tiles, std::int64_t cols);

    /// The screen that `rect` mostly lies on: the only screen, else the one whose visible frame has
    /// the largest intersection area with it (the earlier screen on ties, the first screen when none
    /// overlaps); none without screens.
    static std::optional<platform::NSScreen> screenForRect(const Rect& rect);

    /// A tile inset by a preset's padding on every side; a padding larger than half the tile gives a
    /// zero size at the tile's centre instead of a negative one.
    static Rect insetByPadding(const Rect& tile, double padding);

    // MARK: State

    /// Fractional cell boundaries per display number that replace the even grid of that display.
    std::map<std::uint32_t, PresetEdges> customPresetEdges;
};

} // namespace tilmora

template <>
struct std::hash<tilmora::RoriDeru::Preset> {
    std::size_t operator()(const tilmora::RoriDeru::Preset& preset) const noexcept;
};
