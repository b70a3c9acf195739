#pragma once

#include "platform/desktop/NSScreen.hpp"
#include "platform/ui/Window.hpp"
#include "platform/ui/declarative/HostingView.hpp"

#include <memory>

namespace tilmora {

/// The window of one preset-layout overlay: borderless, transparent, click-through, at the
/// screen-saver level on every Space, hosting a `SnapBarOverlay` in `hosting`. Frames are global
/// coordinates (points, y up from the bottom of the main display). Hold it in a `std::shared_ptr`.
/// Main thread.
class SnapBarOverlayWindow : public platform::ui::Window {
public:
    /// A borderless, buffered, not deferred window with a zero content rectangle, not opaque on a
    /// clear background, at level 1000, ignoring mouse events, joining all Spaces as a full-screen
    /// auxiliary (collection behaviour 257); `hosting` is null.
    SnapBarOverlayWindow();

    /// The hosting view of the overlay's drawing; also the content view once set as such.
    std::shared_ptr<platform::ui::declarative::HostingView> hosting;

    /// Covers `screen`'s visible frame: frames the window to it (drawing at once), sizes the hosting
    /// and content views to it at the origin, lays out and draws what needs it, and orders the
    /// window in front without activating the program. On the next main-queue turn it orders the
    /// window in front once more, if the window still exists and was not ordered out meanwhile.
    void present(const platform::NSScreen& screen);
};

} // namespace tilmora
