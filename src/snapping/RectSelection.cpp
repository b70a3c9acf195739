#include "snapping/RectSelection.hpp"

#include "platform/foundation/NotificationCenter.hpp"
#include "snapping/RoriDeru.hpp"
#include "snapping/SnapLog.hpp"
#include "windows/ScreenIdentity.hpp"

#include <string>

namespace tilmora::RectSelection {

namespace {

void announce(RoriDeru& grid) {
    platform::NotificationCenter::defaultCenter().post(RoriDeru::selectedKindDidChangeNotification, &grid);
}

std::optional<std::uint32_t> displayOf(const std::optional<platform::NSScreen>& screen) {
    return screen ? tlm_displayID(*screen) : std::nullopt;
}

} // namespace

std::optional<SnapIconKind> selectedKind(const RoriDeru& grid) {
    if (RoriDeru::layoutAppliesToAllScreens()) return grid.globalSelectedKind;
    const auto& byDisplay = grid.selectedKindByDisplay;
    if (grid.lastRectPresetDisplay) {
        const auto it = byDisplay.find(*grid.lastRectPresetDisplay);
        if (it != byDisplay.end()) return it->second;
    }
    if (!byDisplay.empty()) return byDisplay.begin()->second;
    return std::nullopt;
}

std::optional<SnapIconKind> selectedKindFor(RoriDeru& grid, const std::optional<platform::NSScreen>& screen) {
    std::optional<SnapIconKind> kind;
    if (RoriDeru::layoutAppliesToAllScreens()) {
        kind = grid.globalSelectedKind;
    } else if (const auto display = displayOf(screen)) {
        const auto it = grid.selectedKindByDisplay.find(*display);
        if (it != grid.selectedKindByDisplay.end()) kind = it->second;
    }
    grid.logRectPresetSelectionFetch(screen, kind);
    return kind;
}

bool applies(RoriDeru& grid, const std::optional<platform::NSScreen>& screen) {
    bool result = false;
    if (RoriDeru::layoutAppliesToAllScreens()) {
        result = grid.globalSelectedKind.has_value();
    } else if (const auto display = displayOf(screen)) {
        result = grid.selectedKindByDisplay.count(*display) > 0;
    }
    grid.logRectPresetLookup(screen, result);
    return result;
}

void set(RoriDeru& grid, std::optional<SnapIconKind> kind, const std::optional<platform::NSScreen>& screen) {
    if (RoriDeru::layoutAppliesToAllScreens()) {
        const auto old = grid.globalSelectedKind;
        if (old == kind) {
            grid.logRectPresetState("[rect] setSelectedKind(all) unchanged=" + SnapLog::kindDebugText(kind));
            return;
        }
        grid.globalSelectedKind = kind;
        if (!kind) {
            grid.selectedKindByDisplay.clear();
            grid.lastRectPresetDisplay.reset();
        }
        grid.logRectPresetState("[rect] setSelectedKind(all)=" + SnapLog::kindDebugText(kind));
        announce(grid);
        return;
    }

    const auto target = screen ? screen : grid.preferredScreenForSelection();
    const auto display = displayOf(target);
    if (!display) {
        grid.logRectPresetState("[rect] setSelectedKind(no-screen)=" + SnapLog::kindDebugText(kind) +
                                " skipped");
        return;
    }
    std::optional<SnapIconKind> previous;
    if (const auto it = grid.selectedKindByDisplay.find(*display); it != grid.selectedKindByDisplay.end())
        previous = it->second;
    if (kind) {
        grid.selectedKindByDisplay[*display] = *kind;
        grid.lastRectPresetDisplay = *display;
    } else {
        grid.selectedKindByDisplay.erase(*display);
        if (grid.lastRectPresetDisplay == display) grid.lastRectPresetDisplay.reset();
    }
    const std::string sid = std::to_string(*display);
    if (kind == previous) {
        grid.logRectPresetState("[rect] setSelectedKind(no-change) sid=" + sid);
        return;
    }
    grid.logRectPresetState("[rect] setSelectedKind sid=" + sid + " kind=" + SnapLog::kindDebugText(kind));
    announce(grid);
}

void clearAll(RoriDeru& grid) {
    if (RoriDeru::layoutAppliesToAllScreens()) {
        if (!grid.globalSelectedKind && grid.selectedKindByDisplay.empty()) return;
        grid.globalSelectedKind.reset();
        grid.selectedKindByDisplay.clear();
        grid.lastRectPresetDisplay.reset();
        grid.logRectPresetState("[rect] clearPresetSelection(all)");
        announce(grid);
        return;
    }
    if (grid.selectedKindByDisplay.empty()) return;
    grid.selectedKindByDisplay.clear();
    grid.lastRectPresetDisplay.reset();
    grid.logRectPresetState("[rect] clearPresetSelection(single)");
    announce(grid);
}

void migrate(RoriDeru& grid, const std::optional<platform::NSScreen>& preferredScreen) {
    const bool allDisplays = RoriDeru::layoutAppliesToAllScreens();
    if (allDisplays == grid.cachedLayoutScopeAllDisplays) return;

    if (allDisplays) {
        if (!grid.globalSelectedKind) {
            const auto& byDisplay = grid.selectedKindByDisplay;
            const auto preferred = displayOf(preferredScreen);
            const auto it = preferred ? byDisplay.find(*preferred) : byDisplay.end();
            if (it != byDisplay.end()) {
                grid.globalSelectedKind = it->second;
            } else if (!byDisplay.empty()) {
                grid.globalSelectedKind = byDisplay.begin()->second;
            }
        }
        grid.selectedKindByDisplay.clear();
        grid.lastRectPresetDisplay.reset();
        grid.cachedLayoutScopeAllDisplays = allDisplays;
        if (grid.globalSelectedKind) announce(grid);
        return;
    }

    if (grid.globalSelectedKind) {
        const auto target = preferredScreen ? preferredScreen : grid.preferredScreenForSelection();
        const auto display = displayOf(target);
        grid.selectedKindByDisplay.clear();
        if (display) {
            grid.selectedKindByDisplay[*display] = *grid.globalSelectedKind;
            grid.lastRectPresetDisplay = *display;
        } else {
            grid.lastRectPresetDisplay.reset();
        }
        grid.globalSelectedKind.reset();
        grid.cachedLayoutScopeAllDisplays = allDisplays;
        grid.logRectPresetState("[rect] migrate scope change to single");
        announce(grid);
        return;
    }
    grid.cachedLayoutScopeAllDisplays = allDisplays;
}

} // namespace tilmora::RectSelection
