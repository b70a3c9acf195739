#pragma once

#include "model/Rect.hpp"
#include "model/SnapIconKind.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "snapping/GapSettings.hpp"
#include "snapping/GridLayout.hpp"
#include "snapping/GridPreset.hpp"
#include "snapping/PresetEdges.hpp"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tilmora {

/// The snap grid: the one coordinator of drag snapping, per-display grid presets, overlays and the
/// selected snap kind, and the public face of all of it. Each concern lives in its own room, a
/// helper type next to this file, and `RoriDeru` forwards to it, holding only the state that the
/// rooms share:
/// - kind geometry and gaps: `SnapKindGeometry` (the rectangle of each kind, gaps, pixel alignment,
///   clamping) with `GapSettings` (the gap settings as read from the user defaults);
/// - grid presets: `GridPreset` (the value), `GridPresetStorage` (its stored text under
///   "WMPreset_<display>");
/// - tiles: `GridLayout` (cell arithmetic, tiles, the tile a window snaps to) with `PresetEdges`;
/// - screens: `SnapScreens` (the frame snapping uses, the screen a rectangle belongs to);
/// - warnings printed once: `OnceLog`.
/// Rooms still to come take the same shape, a type of their own that this class owns or calls:
/// the selection and preset-marking state, the overlay windows and their view, the drag session
/// with its sampling tick and drop, and the hand-off to the tiling controller.
///
/// Calls that read or change the snap grid's state, the user defaults or the screens are main
/// thread only and check it in Debug builds (`platform::requireMainThread`, failing with
/// "RoriDeru::<call> must be called on the main thread"). The static calls that only compute from
/// their arguments are pure and may run on any thread. Nothing here takes a lock.
///
/// Rectangles are in global coordinates, points, origin at the bottom-left of the main display,
/// y up (the coordinates of a screen's frame and visible frame).
class RoriDeru {
public:
    /// A grid preset of one display (see `GridPreset`: the constructor raises rows and cols below 1
    /// to 1 and turns a negative or NaN gutter or padding into 0).
    using Preset = GridPreset;
    /// Fractional cell boundaries of a display that replace its even grid.
    using PresetEdges = tilmora::PresetEdges;
    /// Cell positions and sizes of an even grid.
    using GridMetrics = GridLayout::GridMetrics;
    /// Row and column of a tile, both counted from 1.
    using RowCol = GridLayout::RowCol;
    /// The gap settings as read at one moment.
    using GapSettings = tilmora::GapSettings;

    /// The preset of a display without a stored one, or with a malformed one: 2 x 2, no gutter, no
    /// padding.
    static Preset fallbackPreset() { return GridPreset::fallback(); }
    /// Largest number of rows or of columns of a preset: larger stored values are malformed, and the
    /// layout treats larger counts as the fallback preset.
    static constexpr std::int64_t maxStoredGridCount = GridPreset::maxCount;

    /// The one snap grid of the process, created on first use and reset with the other shared
    /// instances (safe from any thread; use it on the main thread).
    static RoriDeru& shared();

    RoriDeru() = default;
    RoriDeru(const RoriDeru&) = delete;
    RoriDeru& operator=(const RoriDeru&) = delete;

    // MARK: Snap-kind geometry

    /// The frame that snapping uses on `screen`: its visible frame, narrowed by the Stage Manager
    /// reserve when it is the primary screen (the first of the screen list) and the settings ask for
    /// it. Main thread.
    Rect adjustedVisibleFrame(const platform::NSScreen& screen) const;

    /// The rectangle of `kind` inside the visible frame `visible`, with the gap settings of the
    /// standard user defaults (read on every call) applied where the kind takes gaps. Main thread.
    Rect computeRectForVisible(SnapIconKind kind, const Rect& visible) const;
    /// The same with the gap settings given. Pure; any thread.
    static Rect computeRectForVisible(SnapIconKind kind, const Rect& visible, const GapSettings& gaps);

    /// Insets a placed rectangle by the gap settings of the standard user defaults, relative to the
    /// visible frame it was cut from; the result is clamped into that frame. Main thread.
    Rect applyGaps(const Rect& rect, const Rect& visible) const;
    /// The same with the gap settings given. Pure; any thread.
    static Rect applyGaps(const Rect& rect, const Rect& visible, const GapSettings& gaps);

    /// Reads the gap settings from the standard user defaults (see `GapSettings::current`: the
    /// edge switches and "WMApplyGapsToMaximize" count only as stored Booleans). Any thread.
    static GapSettings currentGapSettings();

    /// Moves the four edges of `rect` onto the device-pixel grid of a screen with backing scale
    /// `scale` (a scale below 1 or NaN counts as 1). Width and height never go below 0. Pure.
    static Rect alignRectToPixelEdges(const Rect& rect, double scale);

    /// Pulls the lower-left corner of `rect` into `bounds` and trims its size so that it does not
    /// reach past the right and top edges of `bounds`. A rectangle that starts beyond the right or
    /// the top edge is moved back so that its edge lies on the bounds' edge, never given a negative
    /// size. Pure.
    static Rect clamp(const Rect& rect, const Rect& bounds);

    // MARK: Grid presets and tiles

    /// The stored text of a preset: rows, cols, gutter and padding joined by "," ("2,3,8.0,0.0").
    /// Pure.
    static std::string presetText(const Preset& preset);
    /// Reads a stored preset text (see `GridPresetStorage::parse`). A negative or NaN gutter or
    /// padding reads as 0 and keeps the rows and columns ("2,3,nan,0" is 2, 3, 0, 0); absent
    /// (malformed) when it is not exactly four numbers, when rows or cols is not finite or above
    /// `maxStoredGridCount`, or when the gutter or padding is infinite. Logs the absurd case once
    /// per text. Any thread.
    static std::optional<Preset> parsePreset(std::string_view text);
    /// The user-defaults key of a display's preset: "WMPreset_" + display number.
    static std::string presetKey(std::uint32_t displayID);

    /// Writes `preset` under the display's key in the standard user defaults; does nothing without a
    /// display number. Main thread.
    void savePreset(const Preset& preset, std::optional<std::uint32_t> displayID);
    /// The stored preset of a display, or `fallbackPreset()` without a display number, without a
    /// stored value or with a malformed one (the stored value is left unchanged). A stored NaN or
    /// negative gutter or padding reads as 0 with the stored rows and columns; only rows or cols
    /// above 64 (or not finite), or an infinite gutter or padding, give the fallback. Main thread.
    Preset loadPreset(std::optional<std::uint32_t> displayID) const;

    /// `savePreset` under the screen's display number (`tlm_displayID`). Main thread.
    void savePreset(const Preset& preset, const platform::NSScreen& screen);
    /// `loadPreset` of the screen's display number (`tlm_displayID`). Main thread.
    Preset loadPreset(const platform::NSScreen& screen) const;

    /// Lays out `rows` x `cols` cells over `rect` with `gutter` points between cells, whole device
    /// pixels of `scale` (below 1 or NaN counts as 1). Rows and cols must be at least 1. Rows or cols
    /// above `maxStoredGridCount`, or a gutter that is not finite, lay out the fallback 2 x 2 grid
    /// without a gutter instead, logged once per such shape ("[RoriDeru] Ignoring grid layout ...").
    /// Any thread.
    static GridMetrics gridMetrics(const Rect& rect, std::int64_t rows, std::int64_t cols, double gutter,
                                   double scale);

    /// The tile rectangles of `preset` over the visible frame `visible` of a display with backing
    /// scale `scale`, row by row from the bottom row, columns left to right (index r * cols + c).
    /// The display's custom edges replace the even grid when they fit the preset. A preset with rows
    /// or cols above `maxStoredGridCount`, or a gutter that is not finite, is laid out as the fallback
    /// 2 x 2 grid without a gutter (4 tiles), logged once per such shape. Main thread.
    std::vector<Rect> tiles(const Rect& visible, double scale, std::optional<std::uint32_t> displayID,
                            const Preset& preset) const;

    /// The tiles of `preset` on `screen`: over its visible frame (not the adjusted frame), with its
    /// backing scale and its display number's custom edges. Main thread.
    std::vector<Rect> tiles(const platform::NSScreen& screen, const Preset& preset) const;

    /// The tile a window rectangle snaps to: the first tile with an edge closer than `threshold`
    /// points, else the tile with the largest overlap (the first tile when none overlaps); absent
    /// only for an empty list. Pure.
    static std::optional<Rect> pickSnapTile(const Rect& windowRect, const std::vector<Rect>& tiles,
                                            double threshold);

    /// Row and column (from 1) of the first tile equal to `tile`; absent when no tile equals it. Pure.
    static std::optional<RowCol> rowCol(const Rect& tile, const std::vector<Rect>& tiles, std::int64_t cols);

    /// The screen that `rect` mostly lies on: the only screen, else the one whose visible frame has
    /// the largest intersection area with it (the earlier screen on ties, the first screen when none
    /// overlaps); none without screens. Main thread.
    static std::optional<platform::NSScreen> screenForRect(const Rect& rect);

    /// A tile inset by a preset's padding on every side; a padding larger than half the tile gives a
    /// zero size at the tile's centre instead of a negative one. Pure.
    static Rect insetByPadding(const Rect& tile, double padding);

    // MARK: State

    /// Fractional cell boundaries per display number that replace the even grid of that display.
    std::map<std::uint32_t, PresetEdges> customPresetEdges;
};

} // namespace tilmora
