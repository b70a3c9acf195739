#include "shell/commands/ShellCommandTable.hpp"

#include "platform/ui/Control.hpp"
#include "platform/ui/MenuItem.hpp"
#include "shell/commands/DisplayMenuCommands.hpp"
#include "shell/commands/GridPresetCommands.hpp"
#include "shell/commands/WindowCommands.hpp"

#include <algorithm>
#include <any>
#include <functional>
#include <map>
#include <optional>
#include <utility>

namespace tilmora {

namespace {

using N = GlobalShortcuts::Name;
using K = SnapIconKind;
using C = CommandContext;
using S = CommandContext::Sender;
using P = MenuPlace;
using H = ShellCommand::Handler;
using Chord = const N& (*)();

/// A verb of the shell.
H handle(std::function<void(C&, S)> run) { return H::overShell(std::move(run)); }

using W = WindowCommands;
using G = GridPresetCommands;
using D = DisplayMenuCommands;

/// A command over the window-command context the shell builds for it, run through `Commands`.
template <class Commands>
H over(std::function<void(Commands, S)> run) {
    return H::overWindow(
        [run = std::move(run)](const WindowCommandContext& context, S sender) { run(Commands(context), sender); });
}

/// The window commands, the grid-preset commands and the display-menu commands.
H handle(std::function<void(W, S)> run) { return over<W>(std::move(run)); }
H handle(std::function<void(G, S)> run) { return over<G>(std::move(run)); }
H handle(std::function<void(D, S)> run) { return over<D>(std::move(run)); }

H toKind(K kind) {
    return handle([kind](W w, S) { w.snapToKind(kind); });
}

/// A command that snaps the frontmost window to `kind`.
ShellCommand snap(Chord chord, const char* selector, const char* titleKey, K kind, P place, int order) {
    return {chord, selector, titleKey, kind, place, order, 0, 0, toKind(kind)};
}

/// A command with no snap kind of its own; `run` runs over the window commands (`W`, `G`, `D`)
/// or over the shell's verbs (`C`).
template <class Run>
ShellCommand verb(Chord chord, const char* selector, const char* titleKey, P place, int order, Run run) {
    return {chord, selector, titleKey, std::nullopt, place, order, 0, 0, handle(std::move(run))};
}

/// A grid preset chosen by its chord; its menu item sends `selectGridPreset:` with the preset.
ShellCommand grid(Chord chord, const char* titleKey, K kind, int rows, int cols, int order) {
    return {chord, nullptr, titleKey, kind, P::grids, order, rows, cols,
            handle([rows, cols](G g, S) { g.selectGridViaShortcut(rows, cols); })};
}

/// A selector only (no chord, no item of its own in the status menu).
template <class Run>
ShellCommand action(const char* selector, Run run) {
    return verb(nullptr, selector, nullptr, P::none, 0, std::move(run));
}

/// The Boolean a sender of `setKeyboardShortcutsEnabled:` carries: a menu item's represented
/// Boolean, or a control's value (non-zero: on); none for anything else.
std::optional<bool> senderBool(S sender) {
    if (auto* item = dynamic_cast<platform::ui::MenuItem*>(sender)) {
        if (const auto* value = std::any_cast<bool>(&item->representedObject)) return *value;
        return std::nullopt;
    }
    if (auto* control = dynamic_cast<platform::ui::Control*>(sender)) return control->doubleValue() != 0;
    return std::nullopt;
}

std::vector<ShellCommand> makeTable() {
    return {
        // Chords, in registration order.
        snap(&N::snapLeftHalf, "snapLeftHalf", "menu.leftHalf", K::leftHalf, P::halves, 1),
        snap(&N::snapRightHalf, "snapRightHalf", "menu.rightHalf", K::rightHalf, P::halves, 2),
        snap(&N::snapTopHalf, "snapTopHalf", "menu.topHalf", K::topHalf, P::halves, 4),
        snap(&N::snapBottomHalf, "snapBottomHalf", "menu.bottomHalf", K::bottomHalf, P::halves, 5),
        snap(&N::snapLeftThird, "snapLeftThird", "menu.firstThird", K::leftThird, P::thirds, 1),
        snap(&N::snapMiddleThird, "snapMiddleThird", "menu.centerThird", K::middleThird, P::thirds, 2),
        snap(&N::snapRightThird, "snapRightThird", "menu.lastThird", K::rightThird, P::thirds, 3),
        snap(&N::snapLeftTwoThirds, "snapLeftTwoThirds", "menu.firstTwoThirds", K::leftTwoThirds, P::thirds, 4),
        snap(&N::snapRightTwoThirds, "snapRightTwoThirds", "menu.lastTwoThirds", K::rightTwoThirds, P::thirds, 7),
        snap(&N::snapTopLeft, "snapTopLeft", "menu.topLeft", K::topLeft, P::corners, 1),
        snap(&N::snapTopRight, "snapTopRight", "menu.topRight", K::topRight, P::corners, 2),
        snap(&N::snapBottomLeft, "snapBottomLeft", "menu.bottomLeft", K::bottomLeft, P::corners, 3),
        snap(&N::snapBottomRight, "snapBottomRight", "menu.bottomRight", K::bottomRight, P::corners, 4),
        snap(&N::snapCenter, "snapCenter", "menu.center", K::center, P::sizes, 6),
        snap(&N::snapMaximize, "snapMaximize", "menu.fullScreen", K::maximize, P::sizes, 1),
        snap(&N::snapCenterHalf, "snapCenterHalf", "menu.centerHalf", K::centerHalf, P::halves, 3),
        snap(&N::snapCenterTwoThirds, "snapCenterTwoThirds", "menu.centerTwoThirds", K::centerTwoThirds, P::thirds, 5),
        snap(&N::snapCenterThreeFourths, "snapCenterThreeFourths", "menu.centerThreeFourths", K::centerThreeFourths,
             P::thirds, 6),
        verb(&N::nativeFullScreen, "enterMacFullScreen", nullptr, P::none, 0, [](W w, S) { w.enterMacFullScreen(); }),
        verb(&N::fullScreenLeftHalf, nullptr, nullptr, P::none, 0,
             [](W w, S) { w.snapFullScreenHalf(K::fullScreenLeftHalf); }),
        verb(&N::fullScreenRightHalf, nullptr, nullptr, P::none, 0,
             [](W w, S) { w.snapFullScreenHalf(K::fullScreenRightHalf); }),
        // The selector is spelled with an "s", the kind and the chord with a "z".
        snap(&N::snapAlmostMaximize, "snapAlmostMaximise", "menu.almostFullScreen", K::almostMaximize, P::sizes, 2),
        verb(&N::snapMaximizeHeight, "snapMaximizeHeight", "menu.fullScreenHeight", P::sizes, 3,
             [](W w, S) { w.snapMaximizeHeight(); }),
        verb(&N::snapSmaller, "snapSmaller", "menu.smaller", P::sizes, 4, [](W w, S) { w.resizeRelative(0.9); }),
        verb(&N::snapLarger, "snapLarger", "menu.larger", P::sizes, 5, [](W w, S) { w.resizeRelative(1.1); }),
        verb(&N::snapRestore, "snapRestoreLast", "menu.restoreOriginal", P::sizes, 7, [](W w, S) { w.snapRestoreLast(); }),
        verb(&N::nextDisplay, "snapNextDisplay", "menu.nextDisplay", P::displays, 1,
             [](W w, S) { w.moveToAdjacentDisplay(1); }),
        verb(&N::previousDisplay, "snapPreviousDisplay", "menu.previousDisplay", P::displays, 2,
             [](W w, S) { w.moveToAdjacentDisplay(-1); }),
        verb(&N::moveToEdgeLeft, "moveToEdgeLeft", "menu.moveLeftEdge", P::edgeSubmenu, 1,
             [](W w, S) { w.moveToEdge(W::HDir::left, std::nullopt); }),
        verb(&N::moveToEdgeRight, "moveToEdgeRight", "menu.moveRightEdge", P::edgeSubmenu, 2,
             [](W w, S) { w.moveToEdge(W::HDir::right, std::nullopt); }),
        verb(&N::moveToEdgeUp, "moveToEdgeUp", "menu.moveUpEdge", P::edgeSubmenu, 3,
             [](W w, S) { w.moveToEdge(std::nullopt, W::VDir::top); }),
        verb(&N::moveToEdgeDown, "moveToEdgeDown", "menu.moveDownEdge", P::edgeSubmenu, 4,
             [](W w, S) { w.moveToEdge(std::nullopt, W::VDir::bottom); }),
        snap(&N::firstQuarter, "snapFirstQuarter", "menu.firstQuarter", K::firstQuarter, P::quarterSubmenu, 1),
        snap(&N::secondQuarter, "snapSecondQuarter", "menu.secondQuarter", K::secondQuarter, P::quarterSubmenu, 2),
        snap(&N::thirdQuarter, "snapThirdQuarter", "menu.thirdQuarter", K::thirdQuarter, P::quarterSubmenu, 3),
        snap(&N::lastQuarter, "snapLastQuarter", "menu.lastQuarter", K::lastQuarter, P::quarterSubmenu, 4),
        snap(&N::firstThreeQuarters, "snapFirstThreeQuarters", "menu.firstThreeQuarters", K::firstThreeQuarters,
             P::quarterSubmenu, 5),
        snap(&N::lastThreeQuarters, "snapLastThreeQuarters", "menu.lastThreeQuarters", K::lastThreeQuarters,
             P::quarterSubmenu, 6),
        snap(&N::topLeftSixth, "snapTopLeftSixth", "menu.topLeftSixth", K::topLeftSixth, P::sixthSubmenu, 1),
        snap(&N::topCenterSixth, "snapTopCenterSixth", "menu.topCenterSixth", K::topCenterSixth, P::sixthSubmenu, 2),
        snap(&N::topRightSixth, "snapTopRightSixth", "menu.topRightSixth", K::topRightSixth, P::sixthSubmenu, 3),
        snap(&N::bottomLeftSixth, "snapBottomLeftSixth", "menu.bottomLeftSixth", K::bottomLeftSixth, P::sixthSubmenu, 4),
        snap(&N::bottomCenterSixth, "snapBottomCenterSixth", "menu.bottomCenterSixth", K::bottomCenterSixth,
             P::sixthSubmenu, 5),
        snap(&N::bottomRightSixth, "snapBottomRightSixth", "menu.bottomRightSixth", K::bottomRightSixth, P::sixthSubmenu,
             6),
        grid(&N::grid1x2, "menu.grid1x2", K::grid1x2, 1, 2, 1),
        grid(&N::grid1x3, "menu.grid1x3", K::grid1x3, 1, 3, 2),
        grid(&N::grid2x1, "menu.grid2x1", K::grid2x1, 2, 1, 3),
        grid(&N::grid3x1, "menu.grid3x1", K::grid3x1, 3, 1, 4),
        grid(&N::grid2x2, "menu.grid2x2", K::grid2x2, 2, 2, 5),
        grid(&N::grid3x3, "menu.grid3x3", K::grid3x3, 3, 3, 6),
        grid(&N::grid4x4, "menu.grid4x4", K::grid4x4, 4, 4, 7),
        grid(&N::grid6x4, "menu.grid6x4", K::grid6x4, 6, 4, 8),
        grid(&N::grid8x2, "menu.grid8x2", K::grid8x2, 8, 2, 9),
        verb(&N::toggleSnapBar, "toggleSnapBar:", "menu.showSnapBar", P::commandBlock, 3,
             [](C& c, S sender) { c.toggleSnapBar(sender); }),
        // The title follows the switch: "menu.stopSnapping" while snapping is on.
        verb(&N::toggleSnapping, "toggleSnapping:", "menu.startSnapping", P::commandBlock, 4,
             [](C& c, S sender) { c.toggleSnapping(sender); }),
        verb(&N::showSnapshotManager, "showWindow", "menu.showSnapshotManager", P::commandBlock, 1,
             [](C& c, S) { c.showWindow(); }),
        verb(&N::openPreferences, "openPreferences:", "menu.preferences", P::tail, 1,
             [](C& c, S sender) { c.openPreferences(sender); }),
        verb(&N::openHelp, "openHelp:", "menu.help", P::tail, 2, [](C& c, S sender) { c.openHelp(sender); }),
        verb(&N::quitApp, "quitApp", "menu.quitApp", P::tail, 3, [](C& c, S) { c.quitApp(); }),
        verb(&N::toggleIntegrateMissionControl, "toggleIntegrateMissionControl:", "menu.integrateMissionControl",
             P::commandBlock, 13, [](C& c, S sender) { c.toggleIntegrateMissionControl(sender); }),
        verb(&N::toggleIntegrateStageManager, "toggleIntegrateStageManager:", "menu.integrateStageManager",
             P::commandBlock, 12, [](C& c, S sender) { c.toggleIntegrateStageManager(sender); }),

        // Commands without a chord.
        verb(nullptr, "snapRestoreLastLayout", "menu.restoreLastLayout", P::sizes, 8,
             [](W w, S) { w.snapRestoreLastLayout(); }),
        action("snapFromMenuItem:", [](W w, S sender) { w.snapFromMenuItem(sender); }),
        action("resetAllSnappedWindows:", [](W w, S) { w.resetAllSnappedWindows(); }),
        action("selectGridPreset:", [](G g, S sender) { g.selectGridPreset(sender); }),
        action("selectGridPresetFromPopup:", [](G g, S sender) { g.selectGridPresetFromPopup(sender); }),
        action("toggleGridLines:", [](C& c, S sender) { c.toggleGridLines(sender); }),
        action("toggleLayoutScope:", [](C& c, S sender) { c.toggleLayoutScope(sender); }),
        action("setLayoutScopeSingle:", [](C& c, S sender) { c.setLayoutScopeSingle(sender); }),
        action("setLayoutScopeAll:", [](C& c, S sender) { c.setLayoutScopeAll(sender); }),
        action("fullScreenPresetAction:", [](W w, S sender) { w.fullScreenPresetAction(sender); }),
        action("openSnapPreferences", [](C& c, S) { c.openSnapPreferences(); }),
        action("moveToDisplayMenuItem:", [](D d, S sender) { d.moveToDisplayMenuItem(sender); }),
        action("snapAreaFromMenuItem:", [](D d, S sender) { d.snapAreaFromMenuItem(sender); }),
        action("applyStoredLayoutForCurrentSetup:", [](D d, S) { d.applyStoredLayoutForCurrentSetup(); }),
        action("applyVeskPresetFromMenu:", [](C& c, S sender) { c.applyVeskPresetFromMenu(sender); }),
        action("applyVeskTilePresetFromSnapBar:", [](C& c, S sender) { c.applyVeskTilePresetFromSnapBar(sender); }),
        action("openVeskLayoutEditor:", [](C& c, S sender) { c.openVeskLayoutEditor(sender); }),
        action("openLayoutEditor:", [](C& c, S sender) { c.openLayoutEditor(sender); }),
        action("disableSnapBarFromCloseButton", [](C& c, S) { c.disableSnapBarFromCloseButton(); }),
        action("resetSnapSelection:", [](C& c, S sender) { c.resetSnapSelection(sender); }),
        action("resetSnapSelectionFromBar:", [](C& c, S sender) { c.resetSnapSelection(sender); }),
        action("toggleStageReserve:", [](C& c, S sender) { c.toggleStageReserve(sender); }),
        action("setKeyboardShortcutsEnabled:",
               [](C& c, S sender) {
                   if (const auto enabled = senderBool(sender)) c.setKeyboardShortcutsEnabled(*enabled);
               }),
        action("toggleKeyboardShortcutsEnabled:", [](C& c, S sender) { c.toggleKeyboardShortcutsEnabled(sender); }),
        action("toggleLaunchAtStartup:", [](C& c, S sender) { c.toggleLaunchAtStartup(sender); }),
    };
}

} // namespace

const std::vector<ShellCommand>& ShellCommandTable::all() {
    static const std::vector<ShellCommand> table = makeTable();
    return table;
}

const std::vector<const ShellCommand*>& ShellCommandTable::inMenu(MenuPlace place) {
    // Sorted once per group: the menu is rebuilt often.
    static const auto groups = [] {
        std::map<MenuPlace, std::vector<const ShellCommand*>> byPlace;
        for (const auto& command : all()) {
            if (command.titleKey) byPlace[command.place].push_back(&command);
        }
        for (auto& [place, commands] : byPlace) {
            std::stable_sort(commands.begin(), commands.end(),
                             [](const ShellCommand* a, const ShellCommand* b) { return a->menuOrder < b->menuOrder; });
        }
        return byPlace;
    }();
    static const std::vector<const ShellCommand*> none;
    const auto found = groups.find(place);
    return found == groups.end() ? none : found->second;
}

const ShellCommand* ShellCommandTable::forSelector(std::string_view selector) {
    for (const auto& command : all()) {
        if (command.selector && selector == command.selector) return &command;
    }
    return nullptr;
}

} // namespace tilmora
