#include "snapping/SnapScreens.hpp"

#include "platform/desktop/LargestOverlap.hpp"
#include "windows/GeometryBridge.hpp"
#include "windows/StageIntegration.hpp"

#include <vector>

namespace tilmora::SnapScreens {

Rect adjustedVisibleFrame(const platform::NSScreen& screen) {
    const auto screens = platform::NSScreen::screens();
    const bool isPrimary = !screens.empty() && screens.front() == screen;
    return StageIntegration::effectiveVisibleFrame(toRect(screen.visibleFrame()), isPrimary);
}

std::optional<platform::NSScreen> screenForRect(const Rect& rect) {
    const auto screens = platform::NSScreen::screens();
    if (screens.empty()) return std::nullopt;
    std::vector<platform::CGRect> frames;
    frames.reserve(screens.size());
    for (const auto& screen : screens)
        frames.push_back(screen.visibleFrame());
    const auto best = platform::indexOfLargestOverlap(toCGRect(rect), frames);
    return screens[best.value_or(0)];
}

} // namespace tilmora::SnapScreens
