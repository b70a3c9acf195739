#pragma once

#include "model/SnapIconKind.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/ui/Responder.hpp"
#include "shell/commands/WindowCommandContext.hpp"

#include <optional>

namespace tilmora {

class ScreenChoice;

/// The commands that act on the frontmost window: snap to a kind, the size and edge commands,
/// the restore commands, the display hops and the full-screen halves. Each reads the frontmost
/// window and the screen it acts on, records the window's rectangles for the restore commands,
/// logs through `print` and moves the window through the context's mover.
///
/// Geometry is in global coordinates: points, origin at the bottom-left of the main display, y
/// up, on a screen's visible frame. Main thread.
class WindowCommands {
public:
    enum class HDir { left, right };
    enum class VDir { top, bottom };

    /// Over `context`, which outlives the commands (one command per full expression).
    explicit WindowCommands(const WindowCommandContext& context)
        : c_(context) {}

    /// Snaps to `kind` on the chosen screen and selects it there (a click on the selected kind
    /// unselects it; nothing is selected while snapping is off).
    void snapToKind(SnapIconKind kind);
    /// `snapToKind` with the kind a menu item carries.
    void snapFromMenuItem(platform::ui::Responder* sender);
    /// The full height of the visible frame (less the gaps where `applyGapsToMaximizeHeight`
    /// asks), the width kept and the window kept inside horizontally.
    void snapMaximizeHeight();
    /// Scales the window about its centre by `scale`, at least 200 × 150, inside the visible frame.
    void resizeRelative(double scale);
    /// Moves the window to the chosen edges of its screen's visible frame, its size kept.
    void moveToEdge(std::optional<HDir> h, std::optional<VDir> v);
    /// Moves the window `step` screens on (wrapping), relative to its display when
    /// `settings::preserveRelativeMove` allows.
    void moveToAdjacentDisplay(int step);
    /// Moves the window back to its baseline rectangle, else to its last one.
    void snapRestoreLast();
    /// Moves the window back to its last rectangle.
    void snapRestoreLastLayout();
    /// Moves every window with a baseline back to it, per application, through the editors' hook.
    void resetAllSnappedWindows();
    /// Selects the native full-screen kind and asks the snap grid to enter full screen.
    void enterMacFullScreen();
    /// Selects a full-screen half kind and moves the window to that half.
    void snapFullScreenHalf(SnapIconKind kind);
    /// Selects the full-screen half kind a menu item carries, after clearing the tile selection,
    /// and moves the window to that half (the menu is not rebuilt).
    void fullScreenPresetAction(platform::ui::Responder* sender);

private:
    /// The screen choice over the context's snap grid and defaults.
    ScreenChoice screens() const;

    const WindowCommandContext& c_;
};

} // namespace tilmora
