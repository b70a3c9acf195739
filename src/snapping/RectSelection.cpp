#include "snapping/RectSelection.hpp"

#include "platform/foundation/NotificationCenter.hpp"
#include "snapping/LayoutTargets.hpp"
#include "snapping/SnapDefaults.hpp"
#include "snapping/SnapLog.hpp"
#include "windows/ScreenIdentity.hpp"

#include <string>

namespace tilmora {

namespace {

std::optional<std::uint32_t> displayOf(const std::optional<platform::NSScreen>& screen) {
    return screen ? tlm_displayID(*screen) : std::nullopt;
}

} // namespace

RectSelection::RectSelection(const void* notificationObject, LayoutTargets& targets, bool scopeAllDisplays)
    : notificationObject_(notificationObject)
    , targets_(targets) {
    state_.cachedScopeAllDisplays = scopeAllDisplays;
}

void RectSelection::announce() const {
    platform::NotificationCenter::defaultCenter().post(didChangeNotification, notificationObject_);
}

void RectSelection::logState(std::string_view message) const {
    SnapLog::rectPresetState(state_.global, state_.lastDisplay, state_.byDisplay, message);
}

bool RectSelection::any() const {
    return SnapDefaults::layoutAppliesToAllScreens() ? state_.global.has_value() : !state_.byDisplay.empty();
}

std::optional<SnapIconKind> RectSelection::kindForDisplay(std::uint32_t display) const {
    if (SnapDefaults::layoutAppliesToAllScreens()) return state_.global;
    if (auto found = state_.byDisplay.find(display); found != state_.byDisplay.end()) return found->second;
    return std::nullopt;
}

std::optional<SnapIconKind> RectSelection::selectedKind() const {
    if (SnapDefaults::layoutAppliesToAllScreens()) return state_.global;
    const auto& byDisplay = state_.byDisplay;
    if (state_.lastDisplay) {
        const auto it = byDisplay.find(*state_.lastDisplay);
        if (it != byDisplay.end()) return it->second;
    }
    if (!byDisplay.empty()) return byDisplay.begin()->second;
    return std::nullopt;
}

std::optional<SnapIconKind> RectSelection::selectedKindFor(const std::optional<platform::NSScreen>& screen) const {
    std::optional<SnapIconKind> kind;
    if (SnapDefaults::layoutAppliesToAllScreens()) {
        kind = state_.global;
    } else if (const auto display = displayOf(screen)) {
        const auto it = state_.byDisplay.find(*display);
        if (it != state_.byDisplay.end()) kind = it->second;
    }
    SnapLog::rectPresetSelectionFetch(screen, kind);
    return kind;
}

bool RectSelection::applies(const std::optional<platform::NSScreen>& screen) const {
    bool result = false;
    if (SnapDefaults::layoutAppliesToAllScreens()) {
        result = state_.global.has_value();
    } else if (const auto display = displayOf(screen)) {
        result = state_.byDisplay.count(*display) > 0;
    }
    SnapLog::rectPresetLookup(screen, result);
    return result;
}

void RectSelection::set(std::optional<SnapIconKind> kind, const std::optional<platform::NSScreen>& screen) {
    if (SnapDefaults::layoutAppliesToAllScreens()) {
        const auto old = state_.global;
        if (old == kind) {
            logState("[rect] setSelectedKind(all) unchanged=" + SnapLog::kindDebugText(kind));
            return;
        }
        state_.global = kind;
        if (!kind) {
            state_.byDisplay.clear();
            state_.lastDisplay.reset();
        }
        logState("[rect] setSelectedKind(all)=" + SnapLog::kindDebugText(kind));
        announce();
        return;
    }

    const auto target = screen ? screen : targets_.preferredScreen();
    const auto display = displayOf(target);
    if (!display) {
        logState("[rect] setSelectedKind(no-screen)=" + SnapLog::kindDebugText(kind) +
                                " skipped");
        return;
    }
    std::optional<SnapIconKind> previous;
    if (const auto it = state_.byDisplay.find(*display); it != state_.byDisplay.end())
        previous = it->second;
    if (kind) {
        state_.byDisplay[*display] = *kind;
        state_.lastDisplay = *display;
    } else {
        state_.byDisplay.erase(*display);
        if (state_.lastDisplay == display) state_.lastDisplay.reset();
    }
    const std::string sid = std::to_string(*display);
    if (kind == previous) {
        logState("[rect] setSelectedKind(no-change) sid=" + sid);
        return;
    }
    logState("[rect] setSelectedKind sid=" + sid + " kind=" + SnapLog::kindDebugText(kind));
    announce();
}

void RectSelection::clearAll() {
    if (SnapDefaults::layoutAppliesToAllScreens()) {
        if (!state_.global && state_.byDisplay.empty()) return;
        state_.global.reset();
        state_.byDisplay.clear();
        state_.lastDisplay.reset();
        logState("[rect] clearPresetSelection(all)");
        announce();
        return;
    }
    if (state_.byDisplay.empty()) return;
    state_.byDisplay.clear();
    state_.lastDisplay.reset();
    logState("[rect] clearPresetSelection(single)");
    announce();
}

void RectSelection::migrate(const std::optional<platform::NSScreen>& preferredScreen) {
    const bool allDisplays = SnapDefaults::layoutAppliesToAllScreens();
    if (allDisplays == state_.cachedScopeAllDisplays) return;

    if (allDisplays) {
        if (!state_.global) {
            const auto& byDisplay = state_.byDisplay;
            const auto preferred = displayOf(preferredScreen);
            const auto it = preferred ? byDisplay.find(*preferred) : byDisplay.end();
            if (it != byDisplay.end()) {
                state_.global = it->second;
            } else if (!byDisplay.empty()) {
                state_.global = byDisplay.begin()->second;
            }
        }
        state_.byDisplay.clear();
        state_.lastDisplay.reset();
        state_.cachedScopeAllDisplays = allDisplays;
        if (state_.global) announce();
        return;
    }

    if (state_.global) {
        const auto target = preferredScreen ? preferredScreen : targets_.preferredScreen();
        const auto display = displayOf(target);
        state_.byDisplay.clear();
        if (display) {
            state_.byDisplay[*display] = *state_.global;
            state_.lastDisplay = *display;
        } else {
            state_.lastDisplay.reset();
        }
        state_.global.reset();
        state_.cachedScopeAllDisplays = allDisplays;
        logState("[rect] migrate scope change to single");
        announce();
        return;
    }
    state_.cachedScopeAllDisplays = allDisplays;
}

} // namespace tilmora
