#include "snapshots/ScreenResolution.hpp"

#include "snapshots/DisplayMapping.hpp"
#include "snapshots/SavedDisplayIdentity.hpp"
#include "windows/ScreenIdentity.hpp"
#include "windows/WindowManager.hpp"

#include "model/Log.hpp"
#include "platform/desktop/NSGeometry.hpp"

#include <algorithm>
#include <cmath>
#include <string>

namespace tilmora::WindowManager {

namespace {

/// A screen's number as the log lines write it: its display number, 0 when it has none.
std::uint32_t loggedNumber(const platform::NSScreen& screen) {
    return tlm_displayID(screen).value_or(0);
}

/// "Name(3)".
std::string nameAndNumber(const platform::NSScreen& screen) {
    return screen.localizedName() + "(" + std::to_string(loggedNumber(screen)) + ")";
}

/// The screen whose full frame size is nearest to the saved size; the earlier screen on ties.
std::optional<ScreenResolution> closestSize(const WindowValue& window, const std::vector<platform::NSScreen>& screens) {
    if (screens.empty()) {
        if (auto main = platform::NSScreen::main()) return ScreenResolution{*main, MatchReason::closestSize};
        return std::nullopt;
    }
    const auto distance = [&](const platform::NSScreen& screen) {
        const auto frame = screen.frame();
        return std::hypot(frame.size.width - window.originalScreenWidth, frame.size.height - window.originalScreenHeight);
    };
    std::size_t best = 0;
    double bestDistance = distance(screens[0]);
    for (std::size_t i = 1; i < screens.size(); ++i) {
        const double d = distance(screens[i]);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return ScreenResolution{screens[best], MatchReason::closestSize};
}

struct PlanItem {
    const WindowValue* win;
    platform::NSScreen screen;
    MatchReason reason;
};

} // namespace

std::optional<ScreenResolution> resolveScreenWithReason(const WindowValue& window,
                                                        const std::vector<platform::NSScreen>& screens) {
    const auto savedBounds = savedDisplayBounds(window);
    const std::uint32_t savedID = savedDisplayNumber(window.screenUUID);
    const auto idScreen = std::find_if(screens.begin(), screens.end(),
                                       [&](const platform::NSScreen& s) { return tlm_displayID(s) == savedID; });
    const bool hasIdScreen = idScreen != screens.end();

    if (savedBounds) {
        const auto boundsScreen = std::find_if(screens.begin(), screens.end(), [&](const platform::NSScreen& s) {
            return boundsMatch(s.visibleFrame(), *savedBounds);
        });
        const bool hasBoundsScreen = boundsScreen != screens.end();
        if (hasIdScreen && hasBoundsScreen && tlm_displayID(*idScreen) != tlm_displayID(*boundsScreen)) {
            logLine("SCREEN", "Display ID mismatch: savedID=" + std::to_string(savedID) +
                                  " savedBounds=" + platform::NSStringFromRect(*savedBounds) +
                                  " idMatch=" + nameAndNumber(*idScreen) +
                                  " idCapture=" + platform::NSStringFromRect(idScreen->visibleFrame()) +
                                  " boundsMatch=" + nameAndNumber(*boundsScreen) +
                                  " boundsCapture=" + platform::NSStringFromRect(boundsScreen->visibleFrame()) +
                                  " -> using BoundsExact");
            return ScreenResolution{*boundsScreen, MatchReason::boundsExact};
        }
        if (hasIdScreen) {
            if (!boundsMatch(idScreen->visibleFrame(), *savedBounds))
                logLine("SCREEN", "Display bounds mismatch for ID match: savedID=" + std::to_string(savedID) +
                                      " savedBounds=" + platform::NSStringFromRect(*savedBounds) +
                                      " idMatch=" + nameAndNumber(*idScreen) +
                                      " idCapture=" + platform::NSStringFromRect(idScreen->visibleFrame()));
            return ScreenResolution{*idScreen, MatchReason::id};
        }
        if (hasBoundsScreen) return ScreenResolution{*boundsScreen, MatchReason::boundsExact};
    } else if (hasIdScreen) {
        return ScreenResolution{*idScreen, MatchReason::id};
    }
    return closestSize(window, screens);
}

void logRestorePlanGroupedByDisplay(const std::vector<WindowValue>& windows,
                                    const std::vector<platform::NSScreen>& screens, const ScreenRemap& remap) {
    if (!verboseLogging()) return;

    std::vector<PlanItem> items;
    for (const auto& window : windows) {
        const std::uint32_t savedID = savedDisplayNumber(window.screenUUID);
        if (const auto entry = remap.find(savedID); entry != remap.end()) {
            const auto target = std::find_if(screens.begin(), screens.end(), [&](const platform::NSScreen& s) {
                return tlm_displayID(s) == entry->second.displayID;
            });
            if (target != screens.end()) {
                items.push_back({&window, *target, MatchReason::remap});
                continue;
            }
        }
        if (auto resolved = resolveScreenWithReason(window, screens))
            items.push_back({&window, resolved->screen, resolved->reason});
    }

    // Groups in the order their screens first occur, then ascending by display number.
    std::vector<std::vector<const PlanItem*>> groups;
    for (const auto& item : items) {
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const auto& g) { return g.front()->screen == item.screen; });
        if (group == groups.end())
            groups.push_back({&item});
        else
            group->push_back(&item);
    }
    std::stable_sort(groups.begin(), groups.end(), [](const auto& a, const auto& b) {
        return loggedNumber(a.front()->screen) < loggedNumber(b.front()->screen);
    });

    if (groups.empty()) return;
    print("");
    for (const auto& group : groups) {
        const auto& screen = group.front()->screen;
        const std::string target = std::to_string(loggedNumber(screen));
        logLine("GROUP", "Restoring to " + screen.localizedName() + " (id=" + target +
                             "): " + std::to_string(group.size()) + " window(s)");
        for (const auto* item : group)
            logLine("GROUP", "  \u2022 " + item->win->bundleIdentifier.value_or("") + " \u2018" +
                                 item->win->windowTitle.value_or("") + "\u2019 from savedScreenID=" +
                                 std::to_string(savedDisplayNumber(item->win->screenUUID)) +
                                 " -> targetID=" + target + " [reason=" + std::string(rawValue(item->reason)) + "]");
        print("");
    }
}

} // namespace tilmora::WindowManager
