#pragma once

#include "model/Rect.hpp"
#include "model/SnapIconKind.hpp"
#include "model/WindowId.hpp"
#include "platform/desktop/AXUIElement.hpp"
#include "platform/desktop/Geometry.hpp"
#include "platform/desktop/NSRunningApplication.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/input/NSEvent.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "snapping/ActiveApplicationTracker.hpp"
#include "snapping/DragMonitors.hpp"
#include "snapping/DragSession.hpp"
#include "snapping/DragTargeting.hpp"
#include "snapping/GapSettings.hpp"
#include "snapping/GridLayout.hpp"
#include "snapping/GridPreset.hpp"
#include "snapping/GridWindowMover.hpp"
#include "snapping/LayoutTargets.hpp"
#include "snapping/OverlayLifecycle.hpp"
#include "snapping/PresetActivation.hpp"
#include "snapping/PresetEdges.hpp"
#include "snapping/PresetMarking.hpp"
#include "snapping/RectSelection.hpp"
#include "snapping/SnapBarSnapGrid.hpp"
#include "snapping/SnapGridSeam.hpp"
#include "snapping/SnapSwitches.hpp"
#include "snapping/TargetWindow.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tilmora {

class TilingController;
struct SnapGridParts;

/// The snap grid: the one coordinator of drag snapping, per-display grid presets, overlays and the
/// selected snap kind, and the public face of all of it. Each concern lives in a component next to
/// this file, and each operation here is a call into the component that does the work:
/// - kind geometry and gaps: `SnapKindGeometry` (the rectangle of each kind, gaps, pixel alignment,
///   clamping) with `GapSettings` (the gap settings as read from the user defaults);
/// - grid presets: `GridPreset` (the value), `GridPresetStorage` (its stored text under
///   "WMPreset_<display>");
/// - tiles: `GridLayout` (cell arithmetic, tiles, the tile a window snaps to) with `PresetEdges`;
/// - screens: `SnapScreens` (the frame snapping uses, the screen a rectangle belongs to);
/// - warnings printed once: `OnceLog`;
/// - the Boolean settings it reads: `SnapDefaults`;
/// - the rect selection (a snap kind per display or one for all displays), which owns the
///   selection: `RectSelection`;
/// - the screens a selection or layout command targets and the layout-scope change:
///   `LayoutTargets`;
/// - the grid preset ticked in the status menu and the menu's one-shot skip request, which owns
///   the marks: `PresetMarking`;
/// - activating snapping on a display (which owns the activated display keys) and applying a
///   preset to it: `PresetActivation`;
/// - diagnostic lines: `TLog` (time-stamped, tagged, de-duplicated) and `SnapLog` (the snap grid's
///   own lines);
/// - the overlay of a display, as the state code drives it: `OverlayWindow`, made over the UI
///   toolkit by `SystemOverlayWindow` with its `OverlayView`;
/// - showing, hiding and pruning the overlays, which owns them with their per-display preset maps
///   and the debug switch: `OverlayLifecycle`;
/// - the application and window a snap acts on, read through Accessibility: `TargetWindow`, with
///   the last other application activated, which `ActiveApplicationTracker` owns;
/// - moving that window, full screen and the explicit snaps: `GridWindowMover`;
/// - the drag pipeline: the global mouse monitors (`DragMonitors`, which owns them and hands their
///   events to the session), the session with its sampling tick and drop (`DragSession`, which
///   owns the session's fields, its timer and the hand-off to the tiling controller) and the
///   overlay, tile and live resize under the drag (`DragTargeting`, the session's part that owns
///   the tiles tracked per display).
/// The drag switches are a `SnapSwitches` value the snap grid holds privately. The snap grid builds
/// the components and hands each the neighbours it works with; none of them knows the snap grid.
/// Where one part shows or hides an overlay or reads the target window for another, it calls the
/// `SnapGridSeam` the snap grid owns, as do the snap grid's own `showOverlay`, `hideOverlay`,
/// `hideAll` and `frontmostWindowKeyAndRect`; a test replaces that seam through the protected
/// constructor. The snap bar reads the snap grid as a `SnapBarSnapGrid`. The shell and the
/// preferences change the snap grid only through its operations; tests reach the components
/// through `SnapGridParts` (tests/support).
///
/// Calls that read or change the snap grid's state, the user defaults or the screens are main
/// thread only and check it in Debug builds (`platform::requireMainThread`, failing with
/// "RoriDeru::<call> must be called on the main thread"). The static calls that only compute from
/// their arguments are pure and may run on any thread. Nothing here takes a lock.
///
/// Rectangles are in global coordinates, points, origin at the bottom-left of the main display,
/// y up (the coordinates of a screen's frame and visible frame).
class RoriDeru : public SnapBarSnapGrid {
public:
    /// A grid preset of one display (see `GridPreset`: the constructor raises rows and cols below 1
    /// to 1 and turns a negative or NaN gutter or padding into 0).
    using Preset = GridPreset;
    /// The gap settings as read at one moment.
    using GapSettings = tilmora::GapSettings;
    /// The key and global frame of the target application's window (see `frontmostWindowKeyAndRect`).
    using KeyAndRect = TargetWindow::KeyAndRect;

    /// Posted on the default notification center, with the snap grid as object and no user info,
    /// once for every change of the effective rect selection.
    static constexpr const char* selectedKindDidChangeNotification = RectSelection::didChangeNotification;
    /// The Accessibility attribute through which the target window's number is read.
    static constexpr const char* AXWindowNumberAttribute = TargetWindow::AXWindowNumberAttribute;

    /// The one snap grid of the process, created on first use and reset with the other shared
    /// instances (safe from any thread; use it on the main thread).
    static RoriDeru& shared();

    /// Reads the drag switches and the layout scope from the standard user defaults, each as a
    /// stored (or registered) Boolean, any other kind of value counting as absent:
    /// `settings::snappingEnabled` (absent: true), `settings::magnetDragMode` (false),
    /// `settings::dragAssumeTileSize` (true), `settings::liveResizeDuringDrag` (true),
    /// `settings::dragRequireOption` (false) and `settings::gridAllDisplays` (false). Any thread.
    RoriDeru();
    ~RoriDeru() override;
    RoriDeru(const RoriDeru&) = delete;
    RoriDeru& operator=(const RoriDeru&) = delete;

    // Snap-kind geometry

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

    /// Moves the four edges of `rect` onto the device-pixel grid of a screen with backing scale
    /// `scale` (a scale below 1 or NaN counts as 1). Width and height never go below 0. Pure.
    static Rect alignRectToPixelEdges(const Rect& rect, double scale);

    /// Pulls the lower-left corner of `rect` into `bounds` and trims its size so that it does not
    /// reach past the right and top edges of `bounds`. A rectangle that starts beyond the right or
    /// the top edge is moved back so that its edge lies on the bounds' edge, never given a negative
    /// size. Pure.
    static Rect clamp(const Rect& rect, const Rect& bounds);

    // Grid presets and tiles

    /// Writes `preset` under the display's key in the standard user defaults; does nothing without a
    /// display number. Main thread.
    void savePreset(const Preset& preset, std::optional<std::uint32_t> displayID);
    /// The stored preset of a display, or `GridPreset::fallback()` without a display number, without a
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
    /// above `GridPreset::maxCount` (64), or a gutter that is not finite, lay out the fallback 2 x 2 grid
    /// without a gutter instead, logged once per such shape ("[RoriDeru] Ignoring grid layout ...").
    /// Any thread.
    static GridLayout::GridMetrics gridMetrics(const Rect& rect, std::int64_t rows, std::int64_t cols,
                                               double gutter, double scale);

    /// The tile rectangles of `preset` over the visible frame `visible` of a display with backing
    /// scale `scale`, row by row from the bottom row, columns left to right (index r * cols + c).
    /// The display's custom edges replace the even grid when they fit the preset. A preset with rows
    /// or cols above `GridPreset::maxCount` (64), or a gutter that is not finite, is laid out as the fallback
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
    static std::optional<GridLayout::RowCol> rowCol(const Rect& tile, const std::vector<Rect>& tiles,
                                                     std::int64_t cols);

    /// The screen that `rect` mostly lies on: the only screen, else the one whose visible frame has
    /// the largest intersection area with it (the earlier screen on ties, the first screen when none
    /// overlaps); none without screens. Main thread.
    static std::optional<platform::NSScreen> screenForRect(const Rect& rect);

    // Switches

    /// Whether drag snapping is on. Main thread.
    bool isSnappingEnabled() const override { return switches_.snappingEnabled; }
    /// Stores the flag in `snappingEnabled`; writes no default. Main thread.
    void setSnappingEnabled(bool enabled);
    /// Each stores its flag in its field, with no other effect; nothing is written to the user
    /// defaults. Main thread.
    void setMagnetMode(bool on);
    void setDragRequireOption(bool on);
    void setLiveResizeDuringDrag(bool on);
    void setDragAssumeTileSize(bool on);
    /// Refreshes the grid lines of every overlay: grid opacity 1 while a grid preset is marked in
    /// the menu (`markGridPresetInMenu`), else 0. The argument does not enter into it and nothing is
    /// stored. Main thread.
    void setShowGridLinesDuringDrag(bool show);
    /// Asks whether the program is trusted for Accessibility, with the system prompt when it is not;
    /// returns the trust state. Main thread.
    bool requestAccessibilityIfNeeded();
    /// Tells the status menu to skip its next selection update once. Main thread.
    void suppressMenuSelectionOnce();
    /// Whether a skip was asked for since the last call; clears the request. Main thread.
    bool consumeSuppressMenuSelection();
    /// Whether a grid preset is ticked in the status menu (it also decides whether overlay grid
    /// lines show). Main thread.
    bool shouldMarkGridPresetInMenu() const;
    /// Hands the tiling controller to the drag pipeline (not owned): layout drags over a display
    /// with a transient layout go to it. The shell sets it at launch (for the shared snap grid,
    /// hook "RoriDeru.tilingController" of `HookRegistry`). Main thread.
    void setTilingController(std::weak_ptr<TilingController> controller);
    /// Whether the drag pipeline holds a tiling controller that still exists. Main thread.
    bool hasTilingController() const;

    // Rect selection and layout scope

    /// The layout scope, `settings::gridAllDisplays` read now: true when selections and layouts apply to
    /// all displays at once. Any thread.
    static bool layoutAppliesToAllScreens();
    /// The selected kind: the global one in all-displays scope; else the kind of the display of the
    /// latest selection, else the kind of the lowest display number with one, else none. Main
    /// thread; logs nothing.
    std::optional<SnapIconKind> selectedKind() const;
    /// The selected kind of `screen` (the global one in all-displays scope; none without screen,
    /// display number or entry). Logs the de-duplicated "[rect] selectedKind(for:)" line. Main thread.
    std::optional<SnapIconKind> selectedKind(const std::optional<platform::NSScreen>& screen) override;
    /// Whether a kind is selected for `screen` (any global kind in all-displays scope). Logs the
    /// de-duplicated "[rect] selectedKindApplies" line. Main thread.
    bool selectedKindApplies(const std::optional<platform::NSScreen>& screen) override;
    /// Sets (or with no kind clears) the selection of `screen`'s display, or of the preferred screen
    /// without one, or the global selection in all-displays scope. Posts
    /// `selectedKindDidChangeNotification` when the effective selection changed; logs the state
    /// ("PRESET" lines) either way. Main thread.
    void setSelectedKind(std::optional<SnapIconKind> kind, const std::optional<platform::NSScreen>& screen);
    /// Clears the selection of the current scope; posts and logs when there was one. Main thread.
    void clearAllRectSelections();
    /// Carries the selection across a change of the layout scope since the last look (see
    /// `RectSelection::migrate`). Main thread.
    void migrateRectSelectionsForScopeChange(const std::optional<platform::NSScreen>& preferredScreen);
    /// The screen a selection without a screen is for: the target window's screen, else the screen
    /// under the pointer, else the main screen, else the first; none without screens. Main thread.
    std::optional<platform::NSScreen> preferredScreenForSelection();
    /// The screens a layout command targets: every screen with `forceAll` or in all-displays scope;
    /// otherwise one, the first of `preferredScreen`, the screen of `focusRect` (global
    /// coordinates), the target window's screen, the screen under the pointer, the main screen and
    /// the first screen; empty without screens. Main thread.
    std::vector<platform::NSScreen>
    layoutTargetScreens(const std::optional<platform::NSScreen>& preferredScreen,
                        const std::optional<Rect>& focusRect, bool forceAll);
    /// `layoutTargetScreens` without a focus rectangle and without `forceAll`. Main thread.
    std::vector<platform::NSScreen>
    targetScreensForLayout(const std::optional<platform::NSScreen>& preferredScreen);
    /// After the user changed the layout scope: migrates the selection, retires the overlays of
    /// displays no longer targeted and applies the active presets again on the targeted activated
    /// displays. Main thread.
    void applyLayoutScopePreference(const std::optional<platform::NSScreen>& preferredScreen);

    // Preset marking and activation

    /// Ticks (on) or unticks (off) a grid preset in the status menu for `screen`, or for the
    /// preferred screen without one (see `PresetMarking::setMark`). Main thread.
    void setMarkGridPresetInMenu(bool on, const std::optional<platform::NSScreen>& screen);
    /// Whether the status menu ticks `preset` for `screen`: all four fields must equal the marked
    /// preset of the scope. Main thread.
    bool shouldMarkGridPreset(const Preset& preset, const std::optional<platform::NSScreen>& screen) const;
    /// The marked preset: the all-displays one in that scope, else the one of the lowest display
    /// number; none when nothing is marked. Main thread.
    std::optional<Preset> markedGridPreset() const;
    /// Unticks every preset and forgets the active, transient and custom-edged presets; with
    /// `removeOverlays` also tears every overlay down. The rect selection stays. Main thread.
    void clearGridPresetMarking(bool removeOverlays);
    /// `loadPreset` of the screen. Main thread.
    Preset storedPreset(const platform::NSScreen& screen) const;
    /// The preset applied to or shown on the screen's display; none without display number or one.
    /// Main thread.
    std::optional<Preset> activePreset(const platform::NSScreen& screen) const;
    /// Activates snapping on `screen` (its display key joins the activated keys) and logs
    /// "[RoriDeru] Activated snapping on <name> [key=<key>]"; a screen of zero size is ignored.
    /// Main thread.
    void activateSnap(const platform::NSScreen& screen);
    /// Applies `preset` to `screen`'s display: stores it, makes it active and shows it on the
    /// display's overlay, hiding a new overlay again 1.3 s later unless a drag runs (see
    /// `PresetActivation::apply`). Main thread.
    void applyPreset(const Preset& preset, const platform::NSScreen& screen, bool flash, bool activate);
    /// Switches the grid preset off on `targets`: in all-displays scope unmarks it and tears every
    /// overlay down with its presets (`hideAll(true)`); otherwise forgets each target display's
    /// mark, active and transient presets and custom edges and hides its overlay, the menu mark
    /// staying while another display keeps one (a target without display number clears every
    /// mark). Main thread.
    void switchGridPresetOff(const std::vector<platform::NSScreen>& targets);
    /// `clearAllRectSelections()`, then `clearGridPresetMarking(removeOverlays)`. Main thread.
    void clearPresetSelection(bool removeOverlays);
    /// Logs ("TILING") that a drop on `screen` found no overlay and leaves the window as dropped.
    /// Main thread.
    void skipSnapDueToMissingOverlay(const platform::NSScreen& screen, std::string_view reason);

    // Logging

    /// Prints "[RoriDeru] " + message while `settings::verboseLogging` is true. Any thread.
    static void logSnapState(std::string_view message);
    /// Prints "[OVERLAY] " + message while `settings::overlayDebug` is true, whatever the verbose setting.
    /// Any thread.
    static void olog(std::string_view message);
    /// The selection-state line ("PRESET"): message, scope, global kind, latest display and the
    /// per-display entries. Main thread.
    void logRectPresetState(std::string_view message) const;
    /// The de-duplicated line of `selectedKindApplies`. Main thread.
    void logRectPresetLookup(const std::optional<platform::NSScreen>& screen, bool applies) const;
    /// The de-duplicated line of `selectedKind(screen)`. Main thread.
    void logRectPresetSelectionFetch(const std::optional<platform::NSScreen>& screen,
                                     std::optional<SnapIconKind> kind) const;

    // Overlays

    /// Through the seam, each the call of `OverlayLifecycle` that does the work: creating or updating
    /// the overlay of `screen`'s display with `preset` (`show`), retiring the overlay of `screen`'s
    /// display (`hide`), retiring every overlay (`hideAll`). Main thread.
    void showOverlay(const platform::NSScreen& screen, const Preset& preset, bool force, bool markActive,
                     const std::optional<PresetEdges>& customEdges);
    void hideOverlay(const platform::NSScreen& screen, bool clearPreset);
    void hideAll(bool clearPresets);
    /// Each the call of `OverlayLifecycle` that does the work: showing `preset` as the active preset
    /// on every display where snapping was activated (`showOnAllDisplays`); retiring the overlays
    /// (`prune`) or dropping the transient presets (`pruneTransientPresets`) of the displays not in
    /// `keeping`, display numbers. Main thread.
    void showOverlayOnAllDisplays(const Preset& preset);
    void pruneOverlays(const std::set<std::uint32_t>& keeping);
    void pruneTransientPresets(const std::set<std::uint32_t>& keeping);

    /// Installs the global mouse monitors of the drag pipeline when snapping is enabled and none
    /// is installed: left-mouse-dragged events may start a drag session, left-mouse-up events
    /// `handleMouseUp`. Main thread.
    void startMonitoringIfNeeded();
    /// Whether the global mouse monitors are installed. Main thread.
    bool isMonitoring() const;
    /// Removes both monitors and ends a running drag without a drop (see `DragSession::abandon`:
    /// a tiling-controller drag is cancelled, nothing is placed). Overlays stay. Main thread.
    void stopMonitoring();
    /// Stores the flag, then starts or stops the monitors. Writes no default. Main thread.
    void toggleDragToSnap(bool enabled);
    /// Stores the flag; switching it off clears the debug layers of every overlay. Main thread.
    void setDebugEnabled(bool enabled);
    /// Re-frames the overlay of every current screen that has one and orders it front. Main thread.
    void onScreenParamsChanged();

    // Drag pipeline (see `DragSession` and `DragTargeting`; main thread)

    void startSampling();
    void updateHighlightForFrontmostWindow();
    void handleMouseUp();
    void beginExternalDrag();
    void endExternalDrag();
    void snapFrontmostWindowToNearestTileIfApplicable();
    void ensureOverlayForDrag(const std::optional<platform::NSScreen>& screen);
    std::optional<DragTargeting::Target> bestOverlay(const Rect& windowRect);
    void applyLiveResizeIfNeeded(const Rect& currentWindowRect, const Rect& selectedTile,
                                 const platform::NSScreen& screen, const Preset& preset, std::uint32_t sid);

    // Target application and window

    /// The application a snap acts on (see `TargetWindow::targetApplication`); may set
    /// `lastNonSelfActiveApp`; logs the choice ("AX"). Main thread.
    std::optional<platform::NSRunningApplication> targetApplicationForSnapping();
    /// The owner of the topmost ordinary window under the pointer, never this program. Main thread.
    std::optional<platform::NSRunningApplication> appUnderMouse();
    /// The standard movable window of an application's Accessibility element. Main thread.
    std::optional<platform::AXUIElement> findAXWindow(const platform::AXUIElement& application);
    /// The global frame of the target application's focused, main or first window (panels
    /// included); none without Accessibility trust (no prompt). Main thread.
    std::optional<Rect> frontmostWindowAppKitRect();
    /// The same as `frontmostWindowAppKitRect`.
    std::optional<Rect> frontmostWindowRect();
    /// The key ("<bundle or pid>|<title or untitled>") and global frame of the target
    /// application's standard movable window; none when there is none. Main thread.
    std::optional<KeyAndRect> frontmostWindowKeyAndRect() override;
    /// The window number of that window, in decimal. Main thread.
    std::optional<WindowId> currentFrontmostWindowId();
    /// The same as `screenForRect`. Main thread.
    static std::optional<platform::NSScreen> screenContaining(const Rect& rect);
    /// The minimum window size (points) of the workspace's frontmost application, for the live
    /// resize. Main thread.
    platform::CGSize frontmostAppMinSize() const;

    // Moving the target window

    /// Moves and resizes the target window to `rect` (global) with the application's minimum size,
    /// pixel alignment, clamping, retries and one correction (see `GridWindowMover`). Main thread;
    /// blocks for up to 95 ms of waits.
    void moveFrontmostAXWindow(const Rect& rect);
    /// Puts the frontmost application's window into full screen, through Accessibility or else the
    /// Control-Command-F keystroke; true on success. Main thread.
    bool enterNativeFullScreen();
    /// `moveFrontmostAXWindow(rect)`. Main thread.
    void snapFrontmost(const Rect& rect);
    /// Moves the target window into one cell (row and column from 1) of `preset`'s grid on
    /// `screen`. Main thread.
    void snapFrontmost(std::int64_t row, std::int64_t col, const platform::NSScreen& screen,
                       const Preset& preset);

    // Constants

    /// Pointer travel before a drag counts, points.
    static constexpr double dragThresholdPixels = DragSession::dragThresholdPixels;
    /// Window travel before a drag counts as a window move, points.
    static constexpr double windowMoveThreshold = DragSession::windowMoveThreshold;
    /// Minimum window size of applications not in `minByBundle`, points.
    static constexpr platform::CGSize defaultMin = TargetWindow::defaultMin;
    /// Minimum window sizes of some applications by bundle identifier, points, in declared order.
    static const std::vector<std::pair<std::string, platform::CGSize>>& minByBundle();

protected:
    /// Makes the seam of a snap grid over its overlays and its remembered application.
    using SeamMaker = std::function<std::unique_ptr<SnapGridSeam>(OverlayLifecycle&, ActiveApplicationTracker&)>;
    /// A snap grid whose parts show and hide overlays and read the target window through the seam
    /// `makeSeam` returns (a test derives from `SnapGridSeam` to record or change those calls); the
    /// seam is made before any part is used. Otherwise as `RoriDeru()`.
    explicit RoriDeru(const SeamMaker& makeSeam);

private:
    friend struct SnapGridParts;

    SnapSwitches switches_;
    ActiveApplicationTracker activeApplications_;
    std::unique_ptr<SnapGridSeam> seam_;
    RectSelection selection_;
    OverlayLifecycle overlays_;
    GridWindowMover mover_;
    DragSession session_;
    PresetActivation activation_;
    PresetMarking marking_;
    LayoutTargets targets_;
    DragMonitors monitors_;
    std::shared_ptr<RoriDeru*> lifetime_;
    platform::ObserverToken screenParamsObserver_;
};

} // namespace tilmora
