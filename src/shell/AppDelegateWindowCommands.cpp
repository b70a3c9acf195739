#include "shell/AppDelegate.hpp"

#include "model/DisplayMoveCalculator.hpp"
#include "model/Log.hpp"
#include "model/Settings.hpp"
#include "platform/desktop/NSGeometry.hpp"
#include "platform/foundation/Date.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/input/NSEvent.hpp"
#include "platform/ui/MenuItem.hpp"
#include "platform/ui/PopUpButton.hpp"
#include "shell/EditorWindowHooks.hpp"
#include "shell/GridPresetLogText.hpp"
#include "snapping/RoriDeru.hpp"
#include "snapping/SnapBarController.hpp"
#include "windows/RestoreWindowMover.hpp"
#include "windows/GeometryBridge.hpp"
#include "windows/ScreenIdentity.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>

namespace tilmora {

namespace {

std::string rectText(const Rect& rect) { return platform::NSStringFromRect(toCGRect(rect)); }

std::optional<platform::NSScreen> firstScreenContainingMouse() {
    const auto mouse = platform::NSEvent::mouseLocation();
    for (const auto& screen : platform::NSScreen::screens()) {
        if (screen.frame().contains(mouse)) return screen;
    }
    return std::nullopt;
}

std::optional<platform::NSScreen> mainOrFirstScreen() {
    if (auto main = platform::NSScreen::main()) return main;
    auto screens = platform::NSScreen::screens();
    if (!screens.empty()) return screens.front();
    return std::nullopt;
}

/// Whether the event being handled is a mouse-button event (down, up or dragged of any button):
/// a click in a menu or on the snap bar, never a key chord.
bool currentEventIsMouseButton() {
    const auto& event = platform::ui::Application::shared().currentEvent();
    if (!event) return false;
    const auto type = static_cast<std::uint32_t>(event->type);
    constexpr std::uint32_t mouseButtonMask = 0x0E0000DE;
    return type < 28 && ((mouseButtonMask >> type) & 1u) != 0;
}

/// The half of a full-screen half kind: the left half for `fullScreenLeftHalf`, else the right.
SnapIconKind halfOf(SnapIconKind kind) {
    return kind == SnapIconKind::fullScreenLeftHalf ? SnapIconKind::leftHalf : SnapIconKind::rightHalf;
}

std::string directionText(std::optional<AppDelegate::HDir> h) {
    if (!h) return "nil";
    return *h == AppDelegate::HDir::left ? "left" : "right";
}

std::string directionText(std::optional<AppDelegate::VDir> v) {
    if (!v) return "nil";
    return *v == AppDelegate::VDir::top ? "top" : "bottom";
}

} // namespace

// ---- Screen choice ---------------------------------------------------------------------------

namespace {

/// `screenForSnapping` with the frontmost window already read (commands that need the window
/// anyway read it once).
std::optional<platform::NSScreen> snappingScreen(const platform::UserDefaults& defaults,
                                                 const std::optional<RoriDeru::KeyAndRect>& front) {
    if (settings::storedBool(defaults, settings::useCursorDisplay.key).value_or(false)) {
        if (auto screen = firstScreenContainingMouse()) return screen;
    }
    if (front) {
        if (auto screen = RoriDeru::screenForRect(front->rect)) return screen;
    }
    return mainOrFirstScreen();
}

} // namespace

std::optional<platform::NSScreen> AppDelegate::screenForSnapping() {
    return snappingScreen(defaults(), roriDeru().frontmostWindowKeyAndRect());
}

std::optional<platform::NSScreen> AppDelegate::menuContextScreen(const std::optional<platform::NSScreen>& preferredScreen) {
    if (preferredScreen) return preferredScreen;
    if (auto screen = firstScreenContainingMouse()) return screen;
    if (auto screen = screenForSnapping()) return screen;
    return mainOrFirstScreen();
}

std::vector<platform::NSScreen> AppDelegate::layoutTargetScreens(const std::optional<platform::NSScreen>& preferredScreen) {
    auto targets = roriDeru().layoutTargetScreens(preferredScreen, std::nullopt, false);
    if (!targets.empty()) return targets;
    if (preferredScreen) return {*preferredScreen};
    if (auto screen = mainOrFirstScreen()) return {*screen};
    return {};
}

// ---- Snap kinds ------------------------------------------------------------------------------

void AppDelegate::snapToKind(SnapIconKind kind) {
    auto& grid = roriDeru();
    const auto front = grid.frontmostWindowKeyAndRect();
    const auto screen = snappingScreen(defaults(), front);
    if (!screen) return;
    clearVeskSelection(layoutTargetScreens(screen));
    const auto current = grid.selectedKind(screen);
    const bool uncheck = currentEventIsMouseButton() && current && *current == kind;
    const std::string kindName(caseName(kind));
    print("[" + platform::Text::timeOfDay(platform::Date::now()) + "] [UI] SnapBar action: " + kindName +
          " on screen=" + screen->localizedName());
    if (front) {
        captureBaselineIfNeeded(front->key, front->rect);
        lastRectByWindowKey_[front->key] = front->rect;
        print("[UI] Stored last rect for key=" + front->key + ": " + rectText(front->rect) + ")");
    }
    const Rect target = grid.computeRectForVisible(kind, grid.adjustedVisibleFrame(*screen));
    print("[UI] Computed rect for " + kindName + ": " + rectText(target));
    grid.activateSnap(*screen);
    windowMover().moveFrontmostWindow(target);
    grid.setMarkGridPresetInMenu(false, screen);
    std::optional<SnapIconKind> selected;
    if (!uncheck && grid.isSnappingEnabled()) selected = kind;
    grid.setSelectedKind(selected, screen);
    if (snapBarController_) snapBarController_->refreshSelectionHighlight();
    rebuildStatusMenu();
}

void AppDelegate::snapFromMenuItem(platform::ui::Responder* sender) {
    auto* item = dynamic_cast<platform::ui::MenuItem*>(sender);
    if (!item) return;
    const auto* kind = std::any_cast<SnapIconKind>(&item->representedObject);
    if (!kind) return;
    snapToKind(*kind);
}

void AppDelegate::captureBaselineIfNeeded(const std::string& key, const Rect& currentRect) {
    if (baselineRectByWindowKey_.count(key) != 0) return;
    baselineRectByWindowKey_[key] = currentRect;
    print("[UI] Stored baseline rect for key=" + key + ": " + rectText(currentRect));
}

// ---- Geometry commands -----------------------------------------------------------------------

void AppDelegate::snapMaximizeHeight() {
    const auto front = roriDeru().frontmostWindowKeyAndRect();
    if (!front) return;
    const auto screen = snappingScreen(defaults(), front);
    if (!screen) return;
    const Rect& rect = front->rect;
    print("[UI] Full-Screen Height — key=" + front->key + " currentRect=" + rectText(rect));
    captureBaselineIfNeeded(front->key, rect);
    lastRectByWindowKey_[front->key] = rect;

    const auto vf = screen->visibleFrame();
    double x = std::max(vf.minX(), std::min(rect.x, vf.maxX() - rect.width));
    double y = vf.minY();
    double height = vf.height();
    if (settings::storedBool(defaults(), settings::applyGapsToMaximizeHeight.key).value_or(false)) {
        double gap = 0;
        const auto vertical = defaults().objectForKey(settings::gapVertical.key);
        const auto size = defaults().objectForKey(settings::gapSize.key);
        if (vertical && vertical->numberValue()) {
            gap = *vertical->numberValue();
        } else if (size && size->numberValue()) {
            gap = *size->numberValue();
        }
        if (!(gap > 0)) gap = 0;
        // As in every snap placement, no gap takes more than a quarter of the frame's smaller side.
        gap = std::min(gap, RoriDeru::GapSettings::largestGap(toRect(vf)));
        const double half = gap * 0.5;
        if (settings::storedBool(defaults(), settings::gapsIncludeScreenEdges.key).value_or(false)) {
            y += half;
            height -= half;
            height -= half;
        } else {
            if (settings::storedBool(defaults(), settings::gapsEdgesBottom.key).value_or(false)) {
                y += half;
                height -= half;
            }
            if (settings::storedBool(defaults(), settings::gapsEdgesTop.key).value_or(false)) height -= half;
        }
    }
    windowMover().moveFrontmostWindow({x, y, rect.width, height});
}

void AppDelegate::resizeRelative(double scale) {
    const auto front = roriDeru().frontmostWindowKeyAndRect();
    if (!front) return;
    const auto screen = snappingScreen(defaults(), front);
    if (!screen) return;
    const Rect& rect = front->rect;
    print("[UI] Resize relative scale=" + platform::Text::doubleDescription(scale) + " key=" + front->key +
          " fromRect=" + rectText(rect));
    captureBaselineIfNeeded(front->key, rect);
    lastRectByWindowKey_[front->key] = rect;

    const auto vf = screen->visibleFrame();
    const double width = std::max(std::min(rect.width * scale, vf.width()), 200.0);
    const double height = std::max(std::min(rect.height * scale, vf.height()), 150.0);
    const double midX = rect.x + rect.width / 2;
    const double midY = rect.y + rect.height / 2;
    const double x = std::max(vf.minX(), std::min(midX - width / 2, vf.maxX() - width));
    const double y = std::max(vf.minY(), std::min(midY - height / 2, vf.maxY() - height));
    const Rect target{x, y, width, height};
    print("[UI] Resize -> newRect=" + rectText(target));
    windowMover().moveFrontmostWindow(target);
}

void AppDelegate::snapRestoreLast() {
    const auto front = roriDeru().frontmostWindowKeyAndRect();
    if (!front) return;
    if (auto baseline = baselineRectByWindowKey_.find(front->key); baseline != baselineRectByWindowKey_.end()) {
        print("[UI] Restore baseline for key=" + front->key + " rect=" + rectText(baseline->second));
        windowMover().moveFrontmostWindow(baseline->second);
    } else if (auto last = lastRectByWindowKey_.find(front->key); last != lastRectByWindowKey_.end()) {
        print("[UI] Restore last for key=" + front->key + " rect=" + rectText(last->second));
        windowMover().moveFrontmostWindow(last->second);
    }
}

void AppDelegate::snapRestoreLastLayout() {
    const auto front = roriDeru().frontmostWindowKeyAndRect();
    if (!front) return;
    auto last = lastRectByWindowKey_.find(front->key);
    if (last == lastRectByWindowKey_.end()) return;
    print("[UI] Restore last layout for key=" + front->key + " rect=" + rectText(last->second));
    windowMover().moveFrontmostWindow(last->second);
}

void AppDelegate::resetAllSnappedWindows(platform::ui::Responder*) {
    // The grouping takes the keys in sorted order, so each group's windows come in key order.
    std::map<std::string, platform::CGRect> baselines;
    for (const auto& [key, rect] : baselineRectByWindowKey_) baselines[key] = toCGRect(rect);
    const auto groups = EditorWindowHooks::current().groupedTargets(baselines);
    for (const auto& [bundleID, windows] : groups) {
        std::vector<WindowManager::ResetTarget> targets;
        targets.reserve(windows.size());
        for (const auto& [title, rect] : windows) targets.push_back({title, rect});
        WindowManager::resetWindows(bundleID, targets);
    }
}

void AppDelegate::moveToEdge(std::optional<HDir> h, std::optional<VDir> v) {
    const auto front = roriDeru().frontmostWindowKeyAndRect();
    if (!front) return;
    const auto screen = snappingScreen(defaults(), front);
    if (!screen) return;
    const Rect& rect = front->rect;
    print("[UI] Move to edge h=" + directionText(h) + " v=" + directionText(v) + " key=" + front->key +
          " fromRect=" + rectText(rect) + " on=" + screen->localizedName());
    captureBaselineIfNeeded(front->key, rect);
    lastRectByWindowKey_[front->key] = rect;

    const auto vf = screen->visibleFrame();
    double x = rect.x;
    if (h) x = *h == HDir::left ? vf.minX() : vf.maxX() - rect.width;
    double y = rect.y;
    if (v) y = *v == VDir::top ? vf.maxY() - rect.height : vf.minY();
    const Rect target{x, y, rect.width, rect.height};
    print("[UI] Move to edge -> newRect=" + rectText(target));
    windowMover().moveFrontmostWindow(target);
}

void AppDelegate::moveToAdjacentDisplay(int step) {
    const auto front = roriDeru().frontmostWindowKeyAndRect();
    if (!front) return;
    const Rect& rect = front->rect;
    print(std::string("[UI] Move to ") + (step >= 1 ? "next" : "previous") + " display fromRect=" + rectText(rect));
    const auto screens = platform::NSScreen::screens();
    if (screens.empty()) return;
    const platform::CGPoint centre{rect.x + rect.width / 2, rect.y + rect.height / 2};
    std::optional<std::size_t> index;
    for (std::size_t i = 0; i < screens.size(); ++i) {
        if (screens[i].frame().contains(centre)) {
            index = i;
            break;
        }
    }
    if (!index) return;
    const auto n = static_cast<long long>(screens.size());
    // Wraps both ways; a step of any size stays in range.
    const long long j = (((static_cast<long long>(*index) + step) % n) + n) % n;
    const auto& target = screens[static_cast<std::size_t>(j)];
    const Rect source = toRect(screens[*index].visibleFrame());
    const Rect destination = toRect(target.visibleFrame());
    const bool preserveRelative =
        settings::storedBool(defaults(), settings::preserveRelativeMove.key).value_or(true);
    const Rect newRect = DisplayMoveCalculator::targetFrame(rect, source, destination, preserveRelative);
    print("[UI] Display hop -> newRect=" + rectText(newRect) + " on=" + target.localizedName());
    windowMover().moveFrontmostWindow(newRect);
}

// ---- Full screen -----------------------------------------------------------------------------

void AppDelegate::enterMacFullScreen() {
    const auto screen = screenForSnapping();
    clearVeskSelection(layoutTargetScreens(screen));
    roriDeru().setSelectedKind(SnapIconKind::macFullScreen, screen);
    roriDeru().enterNativeFullScreen();
}

void AppDelegate::snapFullScreenHalf(SnapIconKind kind) {
    const auto screen = screenForSnapping();
    auto& grid = roriDeru();
    grid.setSelectedKind(kind, screen);
    if (screen) windowMover().moveFrontmostWindow(grid.computeRectForVisible(halfOf(kind), grid.adjustedVisibleFrame(*screen)));
    rebuildStatusMenu();
}

void AppDelegate::fullScreenPresetAction(platform::ui::Responder* sender) {
    auto* item = dynamic_cast<platform::ui::MenuItem*>(sender);
    if (!item) return;
    const auto* kind = std::any_cast<SnapIconKind>(&item->representedObject);
    if (!kind) return;
    const auto screen = screenForSnapping();
    auto& grid = roriDeru();
    clearVeskSelection(layoutTargetScreens(screen));
    grid.setSelectedKind(*kind, screen);
    if (screen) windowMover().moveFrontmostWindow(grid.computeRectForVisible(halfOf(*kind), grid.adjustedVisibleFrame(*screen)));
}

// ---- Grid presets ----------------------------------------------------------------------------

namespace {

enum class GridPresetSource { menu, snapBar };

/// The grid-preset command of the menu and of the snap bar's pop-up, given the chosen item's
/// represented object: switches the preset off where it is already active, else applies it.
void selectGridPresetFrom(AppDelegate& shell, const std::any& object, GridPresetSource source) {
    const auto* preset = std::any_cast<RoriDeru::Preset>(&object);
    if (!preset) return;
    print(std::string(source == GridPresetSource::menu ? "[UI] Selected grid preset via menu: "
                                                       : "[UI] Selected grid preset via Snap Bar: ") +
          std::to_string(preset->rows) + "×" + std::to_string(preset->cols) +
          " gutter=" + GridPresetLogText::wholeNumber(preset->gutter) +
          " padding=" + GridPresetLogText::wholeNumber(preset->padding));
    auto& grid = shell.roriDeru();
    const auto targets = shell.layoutTargetScreens(shell.screenForSnapping());
    shell.clearVeskSelection(targets);
    if (!targets.empty() && tlm_displayID(targets.front())) {
        const auto active = grid.activePreset(targets.front());
        if (active && *active == *preset) {
            grid.switchGridPresetOff(targets);
            if (source == GridPresetSource::menu) shell.displayLayoutStore().store().captureCurrentPresetConfiguration();
            return;
        }
    }
    for (const auto& target : targets) grid.applyPreset(*preset, target, true, true);
    for (const auto& target : targets) grid.setSelectedKind(std::nullopt, target);
    for (const auto& target : targets) grid.setMarkGridPresetInMenu(true, target);
    grid.setDragRequireOption(false);
    shell.displayLayoutStore().store().captureCurrentPresetConfiguration();
}

} // namespace

void AppDelegate::selectGridPreset(platform::ui::Responder* sender) {
    auto* item = dynamic_cast<platform::ui::MenuItem*>(sender);
    if (!item) return;
    selectGridPresetFrom(*this, item->representedObject, GridPresetSource::menu);
}

void AppDelegate::selectGridPresetFromPopup(platform::ui::Responder* sender) {
    auto* popUp = dynamic_cast<platform::ui::PopUpButton*>(sender);
    if (!popUp) return;
    const auto item = popUp->selectedItem();
    if (!item) return;
    selectGridPresetFrom(*this, item->representedObject, GridPresetSource::snapBar);
}

void AppDelegate::selectGridViaShortcut(std::int64_t rows, std::int64_t cols) {
    auto& grid = roriDeru();
    const auto targets = layoutTargetScreens(screenForSnapping());
    if (!targets.empty()) {
        const RoriDeru::Preset preset(std::max<std::int64_t>(rows, 1), std::max<std::int64_t>(cols, 1), 0, 0);
        for (const auto& target : targets) grid.applyPreset(preset, target, true, true);
        for (const auto& target : targets) grid.setSelectedKind(std::nullopt, target);
        for (const auto& target : targets) grid.setMarkGridPresetInMenu(true, target);
    }
    rebuildStatusMenu();
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
