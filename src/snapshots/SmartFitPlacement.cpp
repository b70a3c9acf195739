#include "snapshots/SmartFitPlacement.hpp"

#include "snapshots/SavedDisplayIdentity.hpp"
#include "windows/ScreenIdentity.hpp"

#include <algorithm>

namespace tilmora::WindowManager {

namespace {

/// A row's rectangle relative to the bottom-left of its saved visible frame (points, y up).
platform::CGRect sourceRect(const WindowValue& w) {
    return {w.xPosition, w.originalScreenHeight - w.yPosition - w.height, w.width, w.height};
}

/// `r` moved (never resized) so that it lies inside `vf`; a rectangle larger than `vf` ends at its
/// right and top edges.
platform::CGRect keptInside(platform::CGRect r, const platform::CGRect& vf) {
    if (r.minX() < vf.minX()) r.origin.x = vf.minX();
    if (r.minY() < vf.minY()) r.origin.y = vf.minY();
    if (r.maxX() > vf.maxX()) r.origin.x = vf.maxX() - r.width();
    if (r.maxY() > vf.maxY()) r.origin.y = vf.maxY() - r.height();
    return r;
}

} // namespace

PlacementRects smartFitRects(const std::vector<WindowValue>& windows, const ScreenRemap& remap,
                             const std::vector<platform::NSScreen>& screens) {
    PlacementRects result;
    std::map<std::uint32_t, std::vector<const WindowValue*>> groups;
    for (const auto& window : windows)
        groups[savedDisplayNumber(window.screenUUID)].push_back(&window);

    for (const auto& [savedID, group] : groups) {
        const auto entry = remap.find(savedID);
        if (entry == remap.end() || entry->second.mode != RemapMode::smartFit) continue;
        const auto target = std::find_if(screens.begin(), screens.end(), [&](const platform::NSScreen& s) {
            return tlm_displayID(s) == entry->second.displayID;
        });
        if (target == screens.end()) continue;
        const platform::CGRect vf = target->visibleFrame();

        platform::CGRect u = platform::CGRect::null();
        for (const auto* window : group)
            u = platform::CGRectUnion(u, sourceRect(*window));
        if (u.isNull() || !(u.width() > 0) || !(u.height() > 0)) continue;

        const double s = std::min({vf.width() / u.width(), vf.height() / u.height(), 1.0});
        const double ox = vf.minX() + (vf.width() - u.width() * s) * 0.5 - u.minX() * s;
        const double oy = vf.minY() + (vf.height() - u.height() * s) * 0.5 - u.minY() * s;
        for (const auto* window : group) {
            if (!window->rowID) continue;
            const auto src = sourceRect(*window);
            const auto r = platform::CGRectIntegral(
                {ox + s * src.origin.x, oy + s * src.origin.y, s * src.size.width, s * src.size.height});
            result[*window->rowID] = keptInside(r, vf);
        }
    }
    return result;
}

PlacementRects precomputeSmartFitRects(const std::vector<WindowValue>& windows, const ScreenRemap& remap) {
    return smartFitRects(windows, remap, platform::NSScreen::screens());
}

PlacementRects precomputeTileGridRects(const std::vector<WindowValue>&, const ScreenRemap&) {
    return {};
}

} // namespace tilmora::WindowManager
