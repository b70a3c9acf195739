#include "shell/commands/DisplayMenuCommands.hpp"

#include "model/DisplayMoveCalculator.hpp"
#include "model/DisplaySignature.hpp"
#include "model/LocalizationManager.hpp"
#include "model/NotificationManager.hpp"
#include "model/Settings.hpp"
#include "model/SnapAreasStore.hpp"
#include "model/SystemScreenSource.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/input/NSEvent.hpp"
#include "platform/ui/MenuItem.hpp"
#include "shell/commands/ScreenChoice.hpp"
#include "snapping/RoriDeru.hpp"
#include "windows/GeometryBridge.hpp"

#include <algorithm>
#include <any>
#include <vector>

namespace tilmora {

namespace {

/// Whether a menu item's signature names `screen`: equal display numbers when both have one
/// (different numbers never match), else equal pixel sizes.
bool signatureMatches(const DisplaySignature& wanted, const DisplaySignature& screen) {
    if (wanted.displayID && screen.displayID) return *wanted.displayID == *screen.displayID;
    return wanted.width == screen.width && wanted.height == screen.height;
}

void appendOnce(std::vector<platform::NSScreen>& list, const std::optional<platform::NSScreen>& screen) {
    if (screen && std::find(list.begin(), list.end(), *screen) == list.end()) list.push_back(*screen);
}

} // namespace

void DisplayMenuCommands::moveToDisplayMenuItem(platform::ui::Responder* sender) {
    auto* item = dynamic_cast<platform::ui::MenuItem*>(sender);
    if (!item) return;
    const auto* wanted = std::any_cast<DisplaySignature>(&item->representedObject);
    if (!wanted) return;
    for (const auto& screen : platform::NSScreen::screens()) {
        // Screens of zero width or height have no signature and are skipped.
        const auto signature = DisplaySignature::fromScreen(SystemScreenSource::info(screen));
        if (!signature || !signatureMatches(*wanted, *signature)) continue;
        moveFrontmostWindow(screen);
        return;
    }
}

void DisplayMenuCommands::moveFrontmostWindow(const platform::NSScreen& target) {
    const auto front = c_.grid.frontmostWindowKeyAndRect();
    if (!front) return;
    const auto source = RoriDeru::screenForRect(front->rect);
    const bool preserveRelative = settings::read(c_.defaults, settings::preserveRelativeMove);
    std::optional<Rect> sourceFrame;
    if (source) sourceFrame = toRect(source->visibleFrame());
    c_.mover.moveFrontmostWindow(
        DisplayMoveCalculator::targetFrame(front->rect, sourceFrame, toRect(target.visibleFrame()), preserveRelative));
}

void DisplayMenuCommands::snapAreaFromMenuItem(platform::ui::Responder* sender) {
    auto* item = dynamic_cast<platform::ui::MenuItem*>(sender);
    if (!item) return;
    const auto* areaId = std::any_cast<platform::UUID>(&item->representedObject);
    if (!areaId) return;
    const auto area = SnapAreasStore::shared().area(*areaId);
    if (!area) return;

    std::vector<platform::NSScreen> preferred;
    const auto mouse = platform::NSEvent::mouseLocation();
    const auto screens = platform::NSScreen::screens();
    for (const auto& screen : screens) {
        if (screen.frame().contains(mouse)) {
            appendOnce(preferred, screen);
            break;
        }
    }
    appendOnce(preferred, ScreenChoice(c_.grid, c_.defaults).forSnapping());
    appendOnce(preferred, platform::NSScreen::main());
    if (!screens.empty()) appendOnce(preferred, screens.front());

    std::vector<ScreenInfo> preferredInfos;
    for (const auto& screen : preferred) preferredInfos.push_back(SystemScreenSource::info(screen));
    const auto resolved = area->resolveScreen(preferredInfos);
    std::optional<platform::NSScreen> target;
    if (resolved) {
        for (const auto& screen : screens) {
            if (SystemScreenSource::info(screen) == *resolved) {
                target = screen;
                break;
            }
        }
    }
    if (!target) {
        auto& texts = LocalizationManager::shared();
        NotificationManager::shared().show(
            texts.localizedString("snapAreas.title"),
            platform::Text::format(texts.localizedString("alert.snapArea.missingDisplay"), {area->name}), 3.0);
        return;
    }

    auto& grid = c_.grid;
    grid.activateSnap(*target);
    grid.applyPreset(grid.loadPreset(*target), *target, false, false);
    const auto v = target->visibleFrame();
    c_.mover.moveFrontmostWindow({v.minX() + v.width() * area->x, v.minY() + v.height() * area->y,
                                       v.width() * area->width, v.height() * area->height});
}

void DisplayMenuCommands::applyStoredLayoutForCurrentSetup() {
    c_.displayLayouts.store().applyStoredConfiguration(true);
}

} // namespace tilmora
