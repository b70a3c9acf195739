#pragma once

#include "platform/desktop/NSScreen.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "shell/AppEnvironment.hpp"
#include "shell/commands/WindowRectMemory.hpp"

#include <functional>
#include <vector>

namespace tilmora {

class RoriDeru;

/// What a window command reaches, and nothing else of the shell: the snap grid (screens,
/// selection, presets), the window mover, the user defaults, the per-display layout memory, the
/// per-window rectangles the restore commands use, and the shell's hooks for what follows a
/// command. The shell builds one for each command from its own components. Main thread.
struct WindowCommandContext {
    RoriDeru& grid;
    WindowMoving& mover;
    platform::UserDefaults& defaults;
    DisplayLayoutPersisting& displayLayouts;
    WindowRectMemory& rects;
    /// Rebuilds the status menu.
    std::function<void()> rebuildStatusMenu;
    /// The snap bar's selection highlight follows the selected kind (when there is a bar).
    std::function<void()> refreshSnapBarSelection;
    /// Clears the preset grid chosen for each of the screens and its transient tile layout.
    std::function<void(const std::vector<platform::NSScreen>&)> clearTileSelection;
};

} // namespace tilmora
