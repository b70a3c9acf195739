#pragma once

#include "shell/commands/ShellCommand.hpp"

#include <string_view>
#include <vector>

namespace tilmora {

/// The shell's commands, declared once. The table is in the order the chords are bound (the
/// catalog order, except that `nativeFullScreen` comes 19th, before the full-screen halves and
/// `snapAlmostMaximize`, and `toggleIntegrateMissionControl` before `toggleIntegrateStageManager`);
/// the commands without a chord follow. The shell registers every selector of the table, binds
/// every chord, and the status menu builds its window-command items from it: adding a command is
/// adding one entry here.
class ShellCommandTable {
public:
    /// Every command, in chord registration order.
    static const std::vector<ShellCommand>& all();
    /// The commands of one menu group, in menu order.
    static const std::vector<const ShellCommand*>& inMenu(MenuPlace place);
    /// The command whose selector is `selector`; null when there is none.
    static const ShellCommand* forSelector(std::string_view selector);
};

} // namespace tilmora
