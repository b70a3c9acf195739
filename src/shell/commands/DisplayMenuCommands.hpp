#pragma once

#include "platform/desktop/NSScreen.hpp"
#include "platform/ui/Responder.hpp"
#include "shell/commands/WindowCommandContext.hpp"

namespace tilmora {

/// The status menu's display commands: move the frontmost window to a display, snap it into a
/// snap area, and apply the stored layout of the current display setup. Main thread.
class DisplayMenuCommands {
public:
    /// Over `context`, which outlives the commands (one command per full expression).
    explicit DisplayMenuCommands(const WindowCommandContext& context)
        : c_(context) {}

    /// Moves the frontmost window to the display whose signature the menu item carries.
    void moveToDisplayMenuItem(platform::ui::Responder* sender);
    /// Moves the frontmost window onto `target`, relative to its display when
    /// `settings::preserveRelativeMove` allows, clamped into the target's visible frame.
    void moveFrontmostWindow(const platform::NSScreen& target);
    /// Snaps the frontmost window into the snap area the menu item carries, on the area's display
    /// (a toast when that display is not connected).
    void snapAreaFromMenuItem(platform::ui::Responder* sender);
    /// Applies the stored layout of the current display setup.
    void applyStoredLayoutForCurrentSetup();

private:
    const WindowCommandContext& c_;
};

} // namespace tilmora
