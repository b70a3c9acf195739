#include "snapping/SnapBarOverlayCoordinator.hpp"

#include "platform/desktop/NSScreen.hpp"
#include "platform/dispatch/MainThread.hpp"
#include "snapping/SnapBarOverlay.hpp"
#include "windows/ScreenIdentity.hpp"

namespace tilmora {

namespace decl = platform::ui::declarative;

void SnapBarOverlayCoordinator::showOverlay(const DisplayDescriptor& display, const Layout& layout) {
    platform::requireMainThread("SnapBarOverlayCoordinator::showOverlay");
    std::optional<platform::NSScreen> screen;
    for (const auto& candidate : platform::NSScreen::screens()) {
        if (DisplayId(tlm_identifierString(candidate)) == display.id) {
            screen = candidate;
            break;
        }
    }
    if (!screen) return;

    auto vm = std::make_shared<SnapBarOverlayViewModel>(display, layout);
    auto hosting =
        std::make_shared<decl::HostingView>(SnapBarOverlay::standard(vm), platform::ui::Rect{0, 0, 0, 0});
    auto window = std::make_shared<SnapBarOverlayWindow>();
    window->hosting = hosting;
    window->setContentView(hosting);

    // The window a second show replaces would otherwise stay on screen at the screen-saver level
    // with nothing left to take it down.
    if (const auto previous = overlays.find(display.id); previous != overlays.end()) {
        previous->second.window->orderOut();
    }
    overlays.insert_or_assign(display.id, Overlay{vm, window});
    window->present(*screen);
}

void SnapBarOverlayCoordinator::highlight(const std::optional<TileId>& tile) {
    platform::requireMainThread("SnapBarOverlayCoordinator::highlight");
    for (auto& [display, overlay] : overlays)
        overlay.vm->highlighted.set(tile);
}

void SnapBarOverlayCoordinator::hideOverlay() {
    platform::requireMainThread("SnapBarOverlayCoordinator::hideOverlay");
    // Taken out first, so that nothing an order-out sets off sees a half-emptied map.
    auto closing = std::move(overlays);
    overlays.clear();
    for (auto& [display, overlay] : closing)
        overlay.window->orderOut();
}

} // namespace tilmora
