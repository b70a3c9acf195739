#pragma once

#include "model/Rect.hpp"
#include "model/SnapIconKind.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "snapping/DragSession.hpp"
#include "snapping/GridPreset.hpp"

#include <cstdint>
#include <optional>
#include <vector>

namespace tilmora {

class RoriDeru;
class OverlayWindow;

/// What a drag points at: the overlay it refers to, the rectangle it would land in, and the live
/// resize to that rectangle. Works on the snap grid's fields; main thread only. Global
/// coordinates (points, y up from the bottom of the main display).
namespace DragTargeting {

/// Constants of the hit test: tile pick threshold and border hysteresis (points), change debounce
/// (seconds); of the live resize: spacing (seconds) and size tolerance (points).
inline constexpr double pickThreshold = 16;
inline constexpr double hysteresis = 14;
inline constexpr double debounceSeconds = 0.05;
inline constexpr double liveResizeSpacing = 0.12;
inline constexpr double sizeTolerance = 0.5;
/// The message when a tile is smaller than the application allows.
inline constexpr const char* minimumSizeMessage =
    "Tile is smaller than this app\u2019s minimum size. Showing the smallest possible.";

/// The overlay a drag or drop refers to.
struct Target {
    std::uint32_t sid = 0;
    platform::NSScreen screen;
    GridPreset preset;
};

/// The preset whose tiles an overlay of `display` offers: its transient preset, else its active
/// preset, else the whole frame (1 x 1) when a kind is selected for it; none otherwise.
std::optional<GridPreset> usablePreset(const RoriDeru& grid, std::uint32_t display);

/// The overlay under the drag of a window with frame `windowRect`: the pointer's display when it
/// has an overlay with a usable preset; else the display with an overlay and a usable preset whose
/// visible frame holds most of the window (the earlier on a tie, the first even at area 0); else,
/// when anything is selected or shown, the lowest display number with an overlay, if usable.
std::optional<Target> bestOverlay(RoriDeru& grid, const Rect& windowRect);


/// The first tile containing `p`, edges included (a point on a shared border belongs to the
/// earlier tile).
std::optional<Rect> tileContaining(const std::vector<Rect>& tiles, const platform::CGPoint& p);

/// The point a drag hits its tiles with and the tile it lands in.
struct TileHit {
    platform::CGPoint point;
    std::optional<Rect> tile;
};

/// The tile a drag of `windowRect` lands in, for the drag tick's highlight and for the drop alike:
/// the hit point is the pointer when `assumeTileSize` holds, else the window's centre; the tile is
/// the first one containing that point, else `GridLayout::pickSnapTile` of the window with
/// `pickThreshold`; none only without tiles.
TileHit tileUnderDrag(bool assumeTileSize, const Rect& windowRect, const std::vector<Rect>& tiles);

/// Highlights on `overlay` the rectangle the drag would land in, steadied near tile borders, and
/// asks for the live resize.
void highlight(RoriDeru& grid, DragSession::Tiles& tracked, bool thresholdExceeded, const Target& target,
               OverlayWindow& overlay, const Rect& windowRect);

/// Resizes the target window to `tile` (padded, centred on the window) when live resize is on,
/// the tile differs from the last one applied on the display and 0.12 s have passed since the last
/// resize; tells the user once per tile and display when the tile is below the minimum size.
void applyLiveResizeIfNeeded(RoriDeru& grid, DragSession::Tiles& tracked, const Rect& windowRect, const Rect& tile,
                             const platform::NSScreen& screen, const GridPreset& preset, std::uint32_t sid);

} // namespace DragTargeting

} // namespace tilmora
