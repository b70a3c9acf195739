#pragma once

#include "model/SnapIconKind.hpp"
#include "shell/commands/CommandHandler.hpp"
#include "shortcuts/Name.hpp"

#include <optional>

namespace tilmora {

/// Where a command shows in the status menu. The window commands are built from the table in
/// this order, a separator between the groups of the window-command block; the command block's
/// switches and the tail (preferences, help, quit) keep their places and states in the menu
/// builder and take their selector, title key and chord from the table.
enum class MenuPlace {
    none,          ///< not in the menu (a chord, a snap-bar button or a selector only)
    commandBlock,  ///< the switches at the top (built by the menu)
    halves,
    corners,
    thirds,
    sizes,
    displays,      ///< followed by the move-to-display section
    edgeSubmenu,   ///< "menu.moveToEdge"; items run their own selector
    quarterSubmenu,///< "menu.quarters"; items send `snapFromMenuItem:` with their kind
    sixthSubmenu,  ///< "menu.sixths"; items send `snapFromMenuItem:` with their kind
    grids,         ///< grid presets; items send `selectGridPreset:` with their preset
    tail,          ///< preferences, help and quit (built by the menu)
};

/// One command of the shell: what it does (its handler, with its constant bound: over the narrow
/// window-command context for the commands that act on the frontmost window, else over the
/// command context), and how it is reached: its action selector, the catalog name whose chord runs it, and
/// its item in the status menu. Any of the three may be absent.
struct ShellCommand {
    using Handler = CommandHandler;

    /// The catalog name whose chord runs the command (with no sender); none: no chord.
    const GlobalShortcuts::Name& (*chord)() = nullptr;
    /// The action selector; none: reached by its chord only.
    const char* selector = nullptr;
    /// The localized title key of its menu item; none: not in the menu.
    const char* titleKey = nullptr;
    /// The snap kind the command applies, shown as the item's icon (and, for grids, the preset).
    std::optional<SnapIconKind> kind;
    MenuPlace place = MenuPlace::none;
    /// The item's position in its menu group (the table itself is in chord registration order).
    int menuOrder = 0;
    /// The grid size of a grid preset command.
    int rows = 0;
    int cols = 0;
    Handler handler;
};

} // namespace tilmora
