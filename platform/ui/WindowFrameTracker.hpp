#pragma once

#include "platform/input/NSEvent.hpp"
#include "platform/ui/TitleBarGeometry.hpp"

#include <memory>

namespace platform::ui {

class Responder;
class Window;

/// What the frame of one of the program's titled windows does with a press of the left button,
/// before the window's content sees it, where `TitleBarGeometry` puts the parts:
/// - a button the style mask has (closable, miniaturizable, resizable for zoom) acts when the
///   button goes up on it again: close (`Window::performClose`, which only hides a window that is
///   kept), minimize (`Window::miniaturize`) or zoom (`Window::zoom`); the place of a button the
///   window lacks is title bar;
/// - a drag of the title bar moves a movable window by the pointer's travel, keeping its size, as
///   the window server moves any window by its title bar;
/// - a drag of the resize corner of a resizable window moves its lower-right corner with the
///   pointer, its top-left corner staying, never below its minimum size (`Window::minSize`, the
///   frame of `Window::contentMinSize`) nor below `smallestSize`.
/// Locations are global points (y up). Main thread; logs nothing.
class WindowFrameTracker {
public:
    /// The smallest frame a resize leaves: the title bar with its three buttons, and the corner.
    static constexpr CGSize smallestSize{80, 38};

    /// A left mouse-down at `location` on `window` (which has taken the click): true when the
    /// frame takes it (a button the window has, the title bar, the resize corner of a resizable
    /// window), which it then tracks until the button goes up; false when it is the content's.
    bool mouseDown(Window& window, CGPoint location);
    /// A left-button dragged or mouse-up event: true when it belongs to a press the frame took
    /// (the mouse-up ends it); false for every other event.
    bool track(const NSEvent& event);

private:
    enum class Part { none, button, titleBar, resizeCorner };

    void dragTo(Window& window, CGPoint location);
    static void press(Window& window, TitleBarGeometry::Button button);

    std::weak_ptr<Responder> window_;
    Part part_ = Part::none;
    TitleBarGeometry::Button button_ = TitleBarGeometry::Button::close;
    /// The pointer at the press, and at the last event of a title-bar drag.
    CGPoint pressedAt_;
    CGPoint lastAt_;
    /// The window's frame at the press.
    CGRect pressedFrame_;
};

} // namespace platform::ui
