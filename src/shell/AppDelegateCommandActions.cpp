#include "shell/AppDelegate.hpp"

#include "platform/ui/Control.hpp"
#include "platform/ui/MenuItem.hpp"

#include <utility>

namespace tilmora {

namespace {

using Sender = platform::ui::Responder*;

struct KindSelector {
    const char* selector;
    SnapIconKind kind;
};

/// The selectors that snap the frontmost window to one kind. "snapAlmostMaximise" is spelled with
/// an "s" while its kind is `almostMaximize`.
constexpr KindSelector kindSelectors[] = {
    {"snapLeftHalf", SnapIconKind::leftHalf},
    {"snapRightHalf", SnapIconKind::rightHalf},
    {"snapTopHalf", SnapIconKind::topHalf},
    {"snapBottomHalf", SnapIconKind::bottomHalf},
    {"snapLeftThird", SnapIconKind::leftThird},
    {"snapMiddleThird", SnapIconKind::middleThird},
    {"snapRightThird", SnapIconKind::rightThird},
    {"snapLeftTwoThirds", SnapIconKind::leftTwoThirds},
    {"snapRightTwoThirds", SnapIconKind::rightTwoThirds},
    {"snapTopLeft", SnapIconKind::topLeft},
    {"snapTopRight", SnapIconKind::topRight},
    {"snapBottomLeft", SnapIconKind::bottomLeft},
    {"snapBottomRight", SnapIconKind::bottomRight},
    {"snapCenter", SnapIconKind::center},
    {"snapMaximize", SnapIconKind::maximize},
    {"snapCenterHalf", SnapIconKind::centerHalf},
    {"snapCenterTwoThirds", SnapIconKind::centerTwoThirds},
    {"snapCenterThreeFourths", SnapIconKind::centerThreeFourths},
    {"snapAlmostMaximise", SnapIconKind::almostMaximize},
    {"snapFirstQuarter", SnapIconKind::firstQuarter},
    {"snapSecondQuarter", SnapIconKind::secondQuarter},
    {"snapThirdQuarter", SnapIconKind::thirdQuarter},
    {"snapLastQuarter", SnapIconKind::lastQuarter},
    {"snapFirstThreeQuarters", SnapIconKind::firstThreeQuarters},
    {"snapLastThreeQuarters", SnapIconKind::lastThreeQuarters},
    {"snapTopLeftSixth", SnapIconKind::topLeftSixth},
    {"snapTopCenterSixth", SnapIconKind::topCenterSixth},
    {"snapTopRightSixth", SnapIconKind::topRightSixth},
    {"snapBottomLeftSixth", SnapIconKind::bottomLeftSixth},
    {"snapBottomCenterSixth", SnapIconKind::bottomCenterSixth},
    {"snapBottomRightSixth", SnapIconKind::bottomRightSixth},
};

/// The Boolean a sender of `setKeyboardShortcutsEnabled:` carries: a menu item's represented
/// Boolean, or a control's value (non-zero: on); none for anything else.
std::optional<bool> senderBool(Sender sender) {
    if (auto* item = dynamic_cast<platform::ui::MenuItem*>(sender)) {
        if (const auto* value = std::any_cast<bool>(&item->representedObject)) return *value;
        return std::nullopt;
    }
    if (auto* control = dynamic_cast<platform::ui::Control*>(sender)) return control->doubleValue() != 0;
    return std::nullopt;
}

} // namespace

// Every selector is a thin entry: it holds the shell for the call (so a command that drops the
// last outside reference still finishes) and runs one command on the main thread.
void AppDelegate::registerCommandActions() {
    const auto on = [this](const platform::ui::Selector& selector, auto command) {
        registerAction(selector, [this, command](Sender sender) {
            auto self = strong();
            if (!self) return;
            command(*self, sender);
        });
    };

    for (const auto& entry : kindSelectors) {
        const SnapIconKind kind = entry.kind;
        on(entry.selector, [kind](AppDelegate& shell, Sender) { shell.snapToKind(kind); });
    }
    on("snapFromMenuItem:", [](AppDelegate& shell, Sender sender) { shell.snapFromMenuItem(sender); });
    on("snapMaximizeHeight", [](AppDelegate& shell, Sender) { shell.snapMaximizeHeight(); });
    on("snapSmaller", [](AppDelegate& shell, Sender) { shell.resizeRelative(0.9); });
    on("snapLarger", [](AppDelegate& shell, Sender) { shell.resizeRelative(1.1); });
    on("snapRestoreLast", [](AppDelegate& shell, Sender) { shell.snapRestoreLast(); });
    on("snapRestoreLastLayout", [](AppDelegate& shell, Sender) { shell.snapRestoreLastLayout(); });
    on("moveToEdgeLeft", [](AppDelegate& shell, Sender) { shell.moveToEdge(HDir::left, std::nullopt); });
    on("moveToEdgeRight", [](AppDelegate& shell, Sender) { shell.moveToEdge(HDir::right, std::nullopt); });
    on("moveToEdgeUp", [](AppDelegate& shell, Sender) { shell.moveToEdge(std::nullopt, VDir::top); });
    on("moveToEdgeDown", [](AppDelegate& shell, Sender) { shell.moveToEdge(std::nullopt, VDir::bottom); });
    on("snapNextDisplay", [](AppDelegate& shell, Sender) { shell.moveToAdjacentDisplay(1); });
    on("snapPreviousDisplay", [](AppDelegate& shell, Sender) { shell.moveToAdjacentDisplay(-1); });
    on("resetAllSnappedWindows:", [](AppDelegate& shell, Sender sender) { shell.resetAllSnappedWindows(sender); });
    on("selectGridPreset:", [](AppDelegate& shell, Sender sender) { shell.selectGridPreset(sender); });
    on("selectGridPresetFromPopup:", [](AppDelegate& shell, Sender sender) { shell.selectGridPresetFromPopup(sender); });
    on("toggleGridLines:", [](AppDelegate& shell, Sender sender) { shell.toggleGridLines(sender); });
    on("toggleLayoutScope:", [](AppDelegate& shell, Sender sender) { shell.toggleLayoutScope(sender); });
    on("enterMacFullScreen", [](AppDelegate& shell, Sender) { shell.enterMacFullScreen(); });
    on("fullScreenPresetAction:", [](AppDelegate& shell, Sender sender) { shell.fullScreenPresetAction(sender); });
    on("openSnapPreferences", [](AppDelegate& shell, Sender) { shell.openSnapPreferences(); });

    on("moveToDisplayMenuItem:", [](AppDelegate& shell, Sender sender) { shell.moveToDisplayMenuItem(sender); });
    on("snapAreaFromMenuItem:", [](AppDelegate& shell, Sender sender) { shell.snapAreaFromMenuItem(sender); });
    on("applyStoredLayoutForCurrentSetup:",
       [](AppDelegate& shell, Sender sender) { shell.applyStoredLayoutForCurrentSetup(sender); });

    on("applyVeskPresetFromMenu:", [](AppDelegate& shell, Sender sender) { shell.applyVeskPresetFromMenu(sender); });
    on("applyVeskTilePresetFromSnapBar:",
       [](AppDelegate& shell, Sender sender) { shell.applyVeskTilePresetFromSnapBar(sender); });
    on("openVeskLayoutEditor:", [](AppDelegate& shell, Sender sender) { shell.openVeskLayoutEditor(sender); });
    on("openLayoutEditor:", [](AppDelegate& shell, Sender sender) { shell.openLayoutEditor(sender); });

    on("toggleSnapBar:", [](AppDelegate& shell, Sender sender) { shell.toggleSnapBar(sender); });
    on("disableSnapBarFromCloseButton", [](AppDelegate& shell, Sender) { shell.disableSnapBarFromCloseButton(); });
    on("toggleSnapping:", [](AppDelegate& shell, Sender sender) { shell.toggleSnapping(sender); });
    on("resetSnapSelection:", [](AppDelegate& shell, Sender sender) { shell.resetSnapSelection(sender); });
    on("resetSnapSelectionFromBar:", [](AppDelegate& shell, Sender sender) { shell.resetSnapSelection(sender); });
    on("toggleStageReserve:", [](AppDelegate& shell, Sender sender) { shell.toggleStageReserve(sender); });
    on("toggleIntegrateStageManager:",
       [](AppDelegate& shell, Sender sender) { shell.toggleIntegrateStageManager(sender); });
    on("toggleIntegrateMissionControl:",
       [](AppDelegate& shell, Sender sender) { shell.toggleIntegrateMissionControl(sender); });
    on("setKeyboardShortcutsEnabled:", [](AppDelegate& shell, Sender sender) {
        if (const auto enabled = senderBool(sender)) shell.setKeyboardShortcutsEnabled(*enabled);
    });
    on("toggleKeyboardShortcutsEnabled:",
       [](AppDelegate& shell, Sender sender) { shell.toggleKeyboardShortcutsEnabled(sender); });
}

} // namespace tilmora
