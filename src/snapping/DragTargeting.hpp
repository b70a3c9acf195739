#pragma once

#include "model/Rect.hpp"
#include "model/SnapIconKind.hpp"
#include "platform/desktop/Geometry.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "snapping/GridPreset.hpp"

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace tilmora {

class GridWindowMover;
class OverlayLifecycle;
class OverlayWindow;
class RectSelection;
struct SnapSwitches;

/// What a drag points at: the overlay it refers to, the rectangle it would land in, and the live
/// resize to that rectangle. Owns the tiles the drag tracks per display; the drag session holds
/// one. Main thread only. Global coordinates (points, y up from the bottom of the main display).
class DragTargeting {
public:
    /// Constants of the hit test: tile pick threshold and border hysteresis (points), change debounce
    /// (seconds); of the live resize: spacing (seconds) and size tolerance (points).
    static constexpr double pickThreshold = 16;
    static constexpr double hysteresis = 14;
    static constexpr double debounceSeconds = 0.05;
    static constexpr double liveResizeSpacing = 0.12;
    static constexpr double sizeTolerance = 0.5;
    /// The message when a tile is smaller than the application allows.
    static constexpr const char* minimumSizeMessage =
        "Tile is smaller than this app\u2019s minimum size. Showing the smallest possible.";

    /// The overlay a drag or drop refers to.
    struct Target {
        std::uint32_t sid = 0;
        platform::NSScreen screen;
        GridPreset preset;
    };

    /// The tiles the drag tracks per display, and the time of the last live resize.
    struct Tiles {
        /// Last highlighted tile per display.
        std::map<std::uint32_t, Rect> lastTileForScreen;
        /// Last tile the window was live-resized to.
        std::map<std::uint32_t, Rect> lastAppliedTileForScreen;
        /// Tile for which the minimum-size notice was last shown.
        std::map<std::uint32_t, Rect> lastToastTileForScreen;
        /// Media time the highlighted tile last changed, per display.
        std::map<std::uint32_t, double> lastTileChangeAtByScreen;
        /// Media time of the last live resize, seconds; never reset, so its spacing spans sessions.
        double lastLiveResizeAt = 0;
    };

    /// The point a drag hits its tiles with and the tile it lands in.
    struct TileHit {
        platform::CGPoint point;
        std::optional<Rect> tile;
    };

    /// Targeting over `overlays`, with the kinds `selection` holds, the drag switches and `mover`
    /// for the live resize; no tile tracked yet.
    DragTargeting(const OverlayLifecycle& overlays, const RectSelection& selection,
                  const SnapSwitches& switches, GridWindowMover& mover);
    DragTargeting(const DragTargeting&) = delete;
    DragTargeting& operator=(const DragTargeting&) = delete;

    /// The preset whose tiles an overlay of `display` offers: its transient preset, else its active
    /// preset, else the whole frame (1 x 1) when a kind is selected for it; none otherwise.
    std::optional<GridPreset> usablePreset(std::uint32_t display) const;

    /// The overlay under the drag of a window with frame `windowRect`: the pointer's display when it
    /// has an overlay with a usable preset; else the display with an overlay and a usable preset whose
    /// visible frame holds most of the window (the earlier on a tie, the first even at area 0); else,
    /// when anything is selected or shown, the lowest display number with an overlay, if usable.
    std::optional<Target> bestOverlay(const Rect& windowRect) const;

    /// The first tile containing `p`, edges included (a point on a shared border belongs to the
    /// earlier tile).
    static std::optional<Rect> tileContaining(const std::vector<Rect>& tiles, const platform::CGPoint& p);

    /// The tile a drag of `windowRect` lands in, for the drag tick's highlight and for the drop alike:
    /// the hit point is the pointer when `assumeTileSize` holds, else the window's centre; the tile is
    /// the first one containing that point, else `GridLayout::pickSnapTile` of the window with
    /// `pickThreshold`; none only without tiles.
    static TileHit tileUnderDrag(bool assumeTileSize, const Rect& windowRect, const std::vector<Rect>& tiles);

    /// Highlights on `overlay` the rectangle the drag would land in, steadied near tile borders, and
    /// asks for the live resize.
    void highlight(bool thresholdExceeded, const Target& target, OverlayWindow& overlay,
                   const Rect& windowRect);

    /// Resizes the target window to `tile` (padded, centred on the window) when live resize is on,
    /// the tile differs from the last one applied on the display and 0.12 s have passed since the last
    /// resize; tells the user once per tile and display when the tile is below the minimum size.
    void applyLiveResizeIfNeeded(const Rect& windowRect, const Rect& tile, const platform::NSScreen& screen,
                                 const GridPreset& preset, std::uint32_t sid);

    /// The tiles tracked per display.
    Tiles& tiles() { return tiles_; }
    const Tiles& tiles() const { return tiles_; }
    /// Forgets, per display, the tile the drag last showed, applied, toasted and when it changed.
    void forgetTiles();

private:
    const OverlayLifecycle& overlays_;
    const RectSelection& selection_;
    const SnapSwitches& switches_;
    GridWindowMover& mover_;
    Tiles tiles_;
};

} // namespace tilmora
