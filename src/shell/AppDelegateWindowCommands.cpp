#include "shell/AppDelegate.hpp"

#include "model/Log.hpp"
#include "model/Settings.hpp"
#include "shell/commands/GridPresetCommands.hpp"
#include "shell/commands/ScreenChoice.hpp"
#include "snapping/RoriDeru.hpp"
#include "snapping/SnapBarController.hpp"

#include <cstdint>

namespace tilmora {

// ---- Screen choice ---------------------------------------------------------------------------

std::optional<platform::NSScreen> AppDelegate::screenForSnapping() {
    return ScreenChoice(roriDeru(), defaults()).forSnapping();
}

std::optional<platform::NSScreen> AppDelegate::menuContextScreen(const std::optional<platform::NSScreen>& preferredScreen) {
    return ScreenChoice(roriDeru(), defaults()).menuContext(preferredScreen);
}

std::vector<platform::NSScreen> AppDelegate::layoutTargetScreens(const std::optional<platform::NSScreen>& preferredScreen) {
    return ScreenChoice(roriDeru(), defaults()).layoutTargets(preferredScreen);
}

// ---- Window commands -------------------------------------------------------------------------

void AppDelegate::snapToKind(SnapIconKind kind) { WindowCommands(windowCommandContext()).snapToKind(kind); }

void AppDelegate::snapFromMenuItem(platform::ui::Responder* sender) {
    WindowCommands(windowCommandContext()).snapFromMenuItem(sender);
}

void AppDelegate::captureBaselineIfNeeded(const std::string& key, const Rect& currentRect) {
    windowRects_.captureBaselineIfNeeded(key, currentRect);
}

void AppDelegate::snapMaximizeHeight() { WindowCommands(windowCommandContext()).snapMaximizeHeight(); }

void AppDelegate::resizeRelative(double scale) { WindowCommands(windowCommandContext()).resizeRelative(scale); }

void AppDelegate::snapRestoreLast() { WindowCommands(windowCommandContext()).snapRestoreLast(); }

void AppDelegate::snapRestoreLastLayout() { WindowCommands(windowCommandContext()).snapRestoreLastLayout(); }

void AppDelegate::resetAllSnappedWindows(platform::ui::Responder*) {
    WindowCommands(windowCommandContext()).resetAllSnappedWindows();
}

void AppDelegate::moveToEdge(std::optional<HDir> h, std::optional<VDir> v) {
    WindowCommands(windowCommandContext()).moveToEdge(h, v);
}

void AppDelegate::moveToAdjacentDisplay(int step) { WindowCommands(windowCommandContext()).moveToAdjacentDisplay(step); }

void AppDelegate::enterMacFullScreen() { WindowCommands(windowCommandContext()).enterMacFullScreen(); }

void AppDelegate::snapFullScreenHalf(SnapIconKind kind) { WindowCommands(windowCommandContext()).snapFullScreenHalf(kind); }

void AppDelegate::fullScreenPresetAction(platform::ui::Responder* sender) {
    WindowCommands(windowCommandContext()).fullScreenPresetAction(sender);
}

// ---- Grid presets ----------------------------------------------------------------------------

void AppDelegate::selectGridPreset(platform::ui::Responder* sender) {
    GridPresetCommands(windowCommandContext()).selectGridPreset(sender);
}

void AppDelegate::selectGridPresetFromPopup(platform::ui::Responder* sender) {
    GridPresetCommands(windowCommandContext()).selectGridPresetFromPopup(sender);
}

void AppDelegate::selectGridViaShortcut(std::int64_t rows, std::int64_t cols) {
    GridPresetCommands(windowCommandContext()).selectGridViaShortcut(rows, cols);
}

// ---- Switches of the drag settings and the layout scope --------------------------------------

void AppDelegate::toggleGridLines(platform::ui::Responder*) {
    const bool old = defaults().boolForKey(settings::showGridLinesDuringDrag.key);
    defaults().set(!old, settings::showGridLinesDuringDrag.key);
    print(std::string("[UI] Toggle grid lines during drag -> ") + (old ? "OFF" : "ON"));
    roriDeru().setShowGridLinesDuringDrag(!old);
    if (snapBarController_) snapBarController_->refreshIndicators();
}

// The scope switches and the preferences window belong to the shell's start-up code; these two
// reach them through the shell's own action table, as the status menu does.
void AppDelegate::toggleLayoutScope(platform::ui::Responder* sender) {
    perform(defaults().boolForKey(settings::gridAllDisplays.key) ? "setLayoutScopeSingle:"
                                                                 : "setLayoutScopeAll:",
            sender);
}

void AppDelegate::openSnapPreferences() { perform("openPreferences:", nullptr); }

} // namespace tilmora
