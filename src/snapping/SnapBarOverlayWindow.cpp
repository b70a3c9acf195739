#include "snapping/SnapBarOverlayWindow.hpp"

#include "platform/dispatch/DispatchQueue.hpp"

namespace tilmora {

namespace ui = platform::ui;

SnapBarOverlayWindow::SnapBarOverlayWindow()
    : ui::Window(ui::Rect{0, 0, 0, 0}, ui::StyleMask::borderless, ui::BackingStore::buffered, false) {
    isOpaque = false;
    backgroundColor = ui::Color::clearColor();
    setLevel(ui::WindowLevel::screenSaver);
    setIgnoresMouseEvents(true);
    collectionBehavior =
        ui::CollectionBehavior::canJoinAllSpaces | ui::CollectionBehavior::fullScreenAuxiliary;
}

void SnapBarOverlayWindow::present(const platform::NSScreen& screen) {
    const ui::Rect visible = screen.visibleFrame();
    setFrame(visible, true);
    const ui::Rect local{0, 0, visible.width(), visible.height()};
    if (hosting) hosting->setFrame(local);
    if (const auto& content = contentView()) {
        content->setFrame(local);
        content->layoutSubtreeIfNeeded();
    }
    displayIfNeeded();
    orderFrontRegardless();

    // Once more after the current turn, in case something ordered above it meanwhile. A window
    // that was taken down in between stays down.
    std::weak_ptr<ui::Responder> weak = weak_from_this();
    platform::DispatchQueue::main().async([weak] {
        auto window = std::static_pointer_cast<ui::Window>(weak.lock());
        if (window && window->isVisible()) window->orderFrontRegardless();
    });
}

} // namespace tilmora
