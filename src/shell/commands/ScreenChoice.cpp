#include "shell/commands/ScreenChoice.hpp"

#include "model/Settings.hpp"
#include "platform/input/NSEvent.hpp"

namespace tilmora {

std::optional<platform::NSScreen> ScreenChoice::underPointer() {
    const auto mouse = platform::NSEvent::mouseLocation();
    for (const auto& screen : platform::NSScreen::screens()) {
        if (screen.frame().contains(mouse)) return screen;
    }
    return std::nullopt;
}

std::optional<platform::NSScreen> ScreenChoice::mainOrFirst() {
    if (auto main = platform::NSScreen::main()) return main;
    auto screens = platform::NSScreen::screens();
    if (!screens.empty()) return screens.front();
    return std::nullopt;
}

std::optional<platform::NSScreen> ScreenChoice::forSnapping() const {
    return forSnapping(grid_.frontmostWindowKeyAndRect());
}

std::optional<platform::NSScreen> ScreenChoice::forSnapping(const std::optional<RoriDeru::KeyAndRect>& front) const {
    if (settings::read(defaults_, settings::useCursorDisplay)) {
        if (auto screen = underPointer()) return screen;
    }
    if (front) {
        if (auto screen = RoriDeru::screenForRect(front->rect)) return screen;
    }
    return mainOrFirst();
}

std::optional<platform::NSScreen> ScreenChoice::menuContext(const std::optional<platform::NSScreen>& preferredScreen) const {
    if (preferredScreen) return preferredScreen;
    if (auto screen = underPointer()) return screen;
    if (auto screen = forSnapping()) return screen;
    return mainOrFirst();
}

std::vector<platform::NSScreen> ScreenChoice::layoutTargets(const std::optional<platform::NSScreen>& preferredScreen) const {
    auto targets = grid_.layoutTargetScreens(preferredScreen, std::nullopt, false);
    if (!targets.empty()) return targets;
    if (preferredScreen) return {*preferredScreen};
    if (auto screen = mainOrFirst()) return {*screen};
    return {};
}

} // namespace tilmora
