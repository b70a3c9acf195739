#include "shell/commands/WindowCommands.hpp"

#include "model/DisplayMoveCalculator.hpp"
#include "model/Log.hpp"
#include "model/Settings.hpp"
#include "platform/desktop/NSGeometry.hpp"
#include "platform/foundation/Date.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/MenuItem.hpp"
#include "shell/EditorWindowHooks.hpp"
#include "shell/commands/ScreenChoice.hpp"
#include "snapping/GapSettings.hpp"
#include "snapping/RoriDeru.hpp"
#include "windows/GeometryBridge.hpp"
#include "windows/RestoreWindowMover.hpp"

#include <algorithm>
#include <any>
#include <cstdint>
#include <map>

namespace tilmora {

namespace {

std::string rectText(const Rect& rect) { return platform::NSStringFromRect(toCGRect(rect)); }

/// Whether the event being handled is a mouse-button event (down, up or dragged of any button):
/// a click in a menu or on the snap bar, never a key chord.
bool currentEventIsMouseButton() {
    const auto& event = platform::ui::Application::shared().currentEvent();
    if (!event) return false;
    const auto type = static_cast<std::uint32_t>(event->type);
    constexpr std::uint32_t mouseButtonMask = 0x0E0000DE;
    return type < 28 && ((mouseButtonMask >> type) & 1u) != 0;
}

/// The snap kind a menu item carries; none for any other sender.
std::optional<SnapIconKind> kindOf(platform::ui::Responder* sender) {
    auto* item = dynamic_cast<platform::ui::MenuItem*>(sender);
    if (!item) return std::nullopt;
    const auto* kind = std::any_cast<SnapIconKind>(&item->representedObject);
    if (!kind) return std::nullopt;
    return *kind;
}

/// The half of a full-screen half kind: the left half for `fullScreenLeftHalf`, else the right.
SnapIconKind halfOf(SnapIconKind kind) {
    return kind == SnapIconKind::fullScreenLeftHalf ? SnapIconKind::leftHalf : SnapIconKind::rightHalf;
}

std::string directionText(std::optional<WindowCommands::HDir> h) {
    if (!h) return "nil";
    return *h == WindowCommands::HDir::left ? "left" : "right";
}

std::string directionText(std::optional<WindowCommands::VDir> v) {
    if (!v) return "nil";
    return *v == WindowCommands::VDir::top ? "top" : "bottom";
}

} // namespace

ScreenChoice WindowCommands::screens() const { return {c_.grid, c_.defaults}; }

// ---- Snap kinds ------------------------------------------------------------------------------

void WindowCommands::snapToKind(SnapIconKind kind) {
    auto& grid = c_.grid;
    const auto front = grid.frontmostWindowKeyAndRect();
    const auto screen = screens().forSnapping(front);
    if (!screen) return;
    c_.clearTileSelection(screens().layoutTargets(screen));
    const auto current = grid.selectedKind(screen);
    const bool uncheck = currentEventIsMouseButton() && current && *current == kind;
    const std::string kindName(caseName(kind));
    print("[" + platform::Text::timeOfDay(platform::Date::now()) + "] [UI] SnapBar action: " + kindName +
          " on screen=" + screen->localizedName());
    if (front) {
        c_.rects.record(front->key, front->rect);
        print("[UI] Stored last rect for key=" + front->key + ": " + rectText(front->rect) + ")");
    }
    const Rect target = grid.computeRectForVisible(kind, grid.adjustedVisibleFrame(*screen));
    print("[UI] Computed rect for " + kindName + ": " + rectText(target));
    grid.activateSnap(*screen);
    c_.mover.moveFrontmostWindow(target);
    grid.setMarkGridPresetInMenu(false, screen);
    std::optional<SnapIconKind> selected;
    if (!uncheck && grid.isSnappingEnabled()) selected = kind;
    grid.setSelectedKind(selected, screen);
    c_.refreshSnapBarSelection();
    c_.rebuildStatusMenu();
}

void WindowCommands::snapFromMenuItem(platform::ui::Responder* sender) {
    if (const auto kind = kindOf(sender)) snapToKind(*kind);
}

// ---- Geometry commands -----------------------------------------------------------------------

void WindowCommands::snapMaximizeHeight() {
    const auto front = c_.grid.frontmostWindowKeyAndRect();
    if (!front) return;
    const auto screen = screens().forSnapping(front);
    if (!screen) return;
    const Rect& rect = front->rect;
    print("[UI] Full-Screen Height — key=" + front->key + " currentRect=" + rectText(rect));
    c_.rects.record(front->key, rect);

    const auto& defaults = c_.defaults;
    const auto vf = screen->visibleFrame();
    double x = std::max(vf.minX(), std::min(rect.x, vf.maxX() - rect.width));
    double y = vf.minY();
    double height = vf.height();
    if (settings::read(defaults, settings::applyGapsToMaximizeHeight)) {
        // As in every snap placement, no gap takes more than a quarter of the frame's smaller side.
        const GapSettings gaps = GapSettings::current(defaults).limitedTo(toRect(vf));
        const double half = gaps.vertical * 0.5;
        if (gaps.bottom) {
            y += half;
            height -= half;
        }
        if (gaps.top) height -= half;
    }
    c_.mover.moveFrontmostWindow({x, y, rect.width, height});
}

void WindowCommands::resizeRelative(double scale) {
    const auto front = c_.grid.frontmostWindowKeyAndRect();
    if (!front) return;
    const auto screen = screens().forSnapping(front);
    if (!screen) return;
    const Rect& rect = front->rect;
    print("[UI] Resize relative scale=" + platform::Text::doubleDescription(scale) + " key=" + front->key +
          " fromRect=" + rectText(rect));
    c_.rects.record(front->key, rect);

    const auto vf = screen->visibleFrame();
    const double width = std::max(std::min(rect.width * scale, vf.width()), 200.0);
    const double height = std::max(std::min(rect.height * scale, vf.height()), 150.0);
    const double midX = rect.x + rect.width / 2;
    const double midY = rect.y + rect.height / 2;
    const double x = std::max(vf.minX(), std::min(midX - width / 2, vf.maxX() - width));
    const double y = std::max(vf.minY(), std::min(midY - height / 2, vf.maxY() - height));
    const Rect target{x, y, width, height};
    print("[UI] Resize -> newRect=" + rectText(target));
    c_.mover.moveFrontmostWindow(target);
}

// ---- Edges and displays ----------------------------------------------------------------------

void WindowCommands::moveToEdge(std::optional<HDir> h, std::optional<VDir> v) {
    const auto front = c_.grid.frontmostWindowKeyAndRect();
    if (!front) return;
    const auto screen = screens().forSnapping(front);
    if (!screen) return;
    const Rect& rect = front->rect;
    print("[UI] Move to edge h=" + directionText(h) + " v=" + directionText(v) + " key=" + front->key +
          " fromRect=" + rectText(rect) + " on=" + screen->localizedName());
    c_.rects.record(front->key, rect);

    const auto vf = screen->visibleFrame();
    double x = rect.x;
    if (h) x = *h == HDir::left ? vf.minX() : vf.maxX() - rect.width;
    double y = rect.y;
    if (v) y = *v == VDir::top ? vf.maxY() - rect.height : vf.minY();
    const Rect target{x, y, rect.width, rect.height};
    print("[UI] Move to edge -> newRect=" + rectText(target));
    c_.mover.moveFrontmostWindow(target);
}

void WindowCommands::moveToAdjacentDisplay(int step) {
    const auto front = c_.grid.frontmostWindowKeyAndRect();
    if (!front) return;
    const Rect& rect = front->rect;
    print(std::string("[UI] Move to ") + (step >= 1 ? "next" : "previous") + " display fromRect=" + rectText(rect));
    const auto all = platform::NSScreen::screens();
    if (all.empty()) return;
    const platform::CGPoint centre{rect.x + rect.width / 2, rect.y + rect.height / 2};
    std::optional<std::size_t> index;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i].frame().contains(centre)) {
            index = i;
            break;
        }
    }
    if (!index) return;
    const auto n = static_cast<long long>(all.size());
    // Wraps both ways; a step of any size stays in range.
    const long long j = (((static_cast<long long>(*index) + step) % n) + n) % n;
    const auto& target = all[static_cast<std::size_t>(j)];
    const Rect source = toRect(all[*index].visibleFrame());
    const Rect destination = toRect(target.visibleFrame());
    const bool preserveRelative = settings::read(c_.defaults, settings::preserveRelativeMove);
    const Rect newRect = DisplayMoveCalculator::targetFrame(rect, source, destination, preserveRelative);
    print("[UI] Display hop -> newRect=" + rectText(newRect) + " on=" + target.localizedName());
    c_.mover.moveFrontmostWindow(newRect);
}

// ---- Restore commands ------------------------------------------------------------------------

void WindowCommands::snapRestoreLast() {
    const auto front = c_.grid.frontmostWindowKeyAndRect();
    if (!front) return;
    const auto& baselines = c_.rects.baseline();
    const auto& lasts = c_.rects.last();
    if (auto baseline = baselines.find(front->key); baseline != baselines.end()) {
        print("[UI] Restore baseline for key=" + front->key + " rect=" + rectText(baseline->second));
        c_.mover.moveFrontmostWindow(baseline->second);
    } else if (auto last = lasts.find(front->key); last != lasts.end()) {
        print("[UI] Restore last for key=" + front->key + " rect=" + rectText(last->second));
        c_.mover.moveFrontmostWindow(last->second);
    }
}

void WindowCommands::snapRestoreLastLayout() {
    const auto front = c_.grid.frontmostWindowKeyAndRect();
    if (!front) return;
    const auto& lasts = c_.rects.last();
    auto last = lasts.find(front->key);
    if (last == lasts.end()) return;
    print("[UI] Restore last layout for key=" + front->key + " rect=" + rectText(last->second));
    c_.mover.moveFrontmostWindow(last->second);
}

void WindowCommands::resetAllSnappedWindows() {
    // The grouping takes the keys in sorted order, so each group's windows come in key order.
    std::map<std::string, platform::CGRect> baselines;
    for (const auto& [key, rect] : c_.rects.baseline()) baselines[key] = toCGRect(rect);
    const auto groups = EditorWindowHooks::current().groupedTargets(baselines);
    for (const auto& [bundleID, windows] : groups) {
        std::vector<WindowManager::ResetTarget> targets;
        targets.reserve(windows.size());
        for (const auto& [title, rect] : windows) targets.push_back({title, rect});
        WindowManager::resetWindows(bundleID, targets);
    }
}

// ---- Full screen -----------------------------------------------------------------------------

void WindowCommands::enterMacFullScreen() {
    const auto screen = screens().forSnapping();
    c_.clearTileSelection(screens().layoutTargets(screen));
    c_.grid.setSelectedKind(SnapIconKind::macFullScreen, screen);
    c_.grid.enterNativeFullScreen();
}

void WindowCommands::snapFullScreenHalf(SnapIconKind kind) {
    const auto screen = screens().forSnapping();
    auto& grid = c_.grid;
    grid.setSelectedKind(kind, screen);
    if (screen) c_.mover.moveFrontmostWindow(grid.computeRectForVisible(halfOf(kind), grid.adjustedVisibleFrame(*screen)));
    c_.rebuildStatusMenu();
}

void WindowCommands::fullScreenPresetAction(platform::ui::Responder* sender) {
    const auto kind = kindOf(sender);
    if (!kind) return;
    const auto screen = screens().forSnapping();
    auto& grid = c_.grid;
    c_.clearTileSelection(screens().layoutTargets(screen));
    grid.setSelectedKind(*kind, screen);
    if (screen) c_.mover.moveFrontmostWindow(grid.computeRectForVisible(halfOf(*kind), grid.adjustedVisibleFrame(*screen)));
}

} // namespace tilmora
