#include "platform/ui/ScreenInfo.hpp"

namespace platform::ui {

namespace {
std::function<std::vector<ScreenInfo>()>& provider() {
    static std::function<std::vector<ScreenInfo>()> p;
    return p;
}
} // namespace

std::vector<ScreenInfo> ScreenInfo::all() {
    if (provider()) return provider()();
    return {ScreenInfo{{0, 0, 1440, 900}, {0, 0, 1440, 875}, 2, 1, "Built-in Display"}};
}

Rect ScreenInfo::mainVisibleFrame() {
    auto screens = all();
    return screens.empty() ? Rect{0, 0, 1440, 875} : screens.front().visibleFrame;
}

std::optional<ScreenInfo> ScreenInfo::forRect(const Rect& rect) {
    std::optional<ScreenInfo> best;
    double bestArea = 0;
    for (auto& s : all()) {
        double w = std::min(rect.maxX(), s.frame.maxX()) - std::max(rect.minX(), s.frame.minX());
        double h = std::min(rect.maxY(), s.frame.maxY()) - std::max(rect.minY(), s.frame.minY());
        double area = w > 0 && h > 0 ? w * h : 0;
        if (area > bestArea) bestArea = area, best = s;
    }
    return best;
}

void ScreenInfo::setProvider(std::function<std::vector<ScreenInfo>()> p) {
    provider() = std::move(p);
}

} // namespace platform::ui
