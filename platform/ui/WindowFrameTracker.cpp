#include "platform/ui/WindowFrameTracker.hpp"

#include "platform/dispatch/MainThread.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/Window.hpp"

#include <algorithm>

namespace platform::ui {

namespace {

using TitleBarButton = TitleBarGeometry::Button;

/// Whether the window's style mask gives it `button`.
bool hasButton(const Window& window, TitleBarButton button) {
    switch (button) {
    case TitleBarButton::close:
        return (window.styleMask() & StyleMask::closable) != 0;
    case TitleBarButton::miniaturize:
        return (window.styleMask() & StyleMask::miniaturizable) != 0;
    case TitleBarButton::zoom:
        return (window.styleMask() & StyleMask::resizable) != 0;
    }
    return false;
}

/// The event's location in global points (an event of a window carries it in the window's space).
CGPoint globalLocation(const NSEvent& event) {
    CGPoint at = event.locationInWindow;
    if (event.windowNumber != 0)
        if (const Window* from = Application::shared().windowWithNumber(event.windowNumber))
            at = {at.x + from->frame().origin.x, at.y + from->frame().origin.y};
    return at;
}

} // namespace

bool WindowFrameTracker::mouseDown(Window& window, CGPoint location) {
    requireMainThread("WindowFrameTracker::mouseDown");
    part_ = Part::none;
    window_.reset();
    if ((window.styleMask() & StyleMask::titled) == 0 || !window.isVisible()) return false;
    const CGRect frame = window.frame();
    if (const auto button = TitleBarGeometry::buttonAt(frame, location);
        button && hasButton(window, *button)) {
        part_ = Part::button;
        button_ = *button;
    } else if (TitleBarGeometry::titleBarContains(frame, location)) {
        part_ = Part::titleBar;
    } else if ((window.styleMask() & StyleMask::resizable) != 0 &&
               TitleBarGeometry::resizeCornerContains(frame, location)) {
        part_ = Part::resizeCorner;
    } else {
        return false;
    }
    window_ = window.weak_from_this();
    pressedAt_ = lastAt_ = location;
    pressedFrame_ = frame;
    return true;
}

bool WindowFrameTracker::track(const NSEvent& event) {
    if (part_ == Part::none) return false;
    if (event.type != EventType::leftMouseDragged && event.type != EventType::leftMouseUp) return false;
    requireMainThread("WindowFrameTracker::track");
    const auto window = std::static_pointer_cast<Window>(window_.lock());
    const CGPoint at = globalLocation(event);
    if (event.type == EventType::leftMouseDragged) {
        if (window && window->isVisible()) dragTo(*window, at);
        return true;
    }
    // The mouse-up ends the press: a drag takes the pointer's last place, a button acts when it
    // goes up on it.
    if (window && window->isVisible()) {
        if (part_ != Part::button) {
            dragTo(*window, at);
        } else if (TitleBarGeometry::buttonAt(window->frame(), at) == button_) {
            part_ = Part::none;
            window_.reset();
            press(*window, button_);
        }
    }
    part_ = Part::none;
    window_.reset();
    return true;
}

void WindowFrameTracker::press(Window& window, TitleBarGeometry::Button button) {
    switch (button) {
    case TitleBarButton::close:
        window.performClose();
        return;
    case TitleBarButton::miniaturize:
        window.miniaturize();
        return;
    case TitleBarButton::zoom:
        window.zoom();
        return;
    }
}

void WindowFrameTracker::dragTo(Window& window, CGPoint location) {
    switch (part_) {
    case Part::titleBar: {
        const CGPoint travel{location.x - lastAt_.x, location.y - lastAt_.y};
        lastAt_ = location;
        if (!window.isMovable || (travel.x == 0 && travel.y == 0)) return;
        const CGRect frame = window.frame();
        window.setFrameOrigin({frame.origin.x + travel.x, frame.origin.y + travel.y});
        return;
    }
    case Part::resizeCorner: {
        const CGSize content =
            window.frameRectForContentRect({0, 0, window.contentMinSize.width, window.contentMinSize.height})
                .size;
        const double minWidth = std::max({window.minSize.width, content.width, smallestSize.width});
        const double minHeight = std::max({window.minSize.height, content.height, smallestSize.height});
        const double width = std::max(minWidth, pressedFrame_.width() + location.x - pressedAt_.x);
        const double height = std::max(minHeight, pressedFrame_.height() - (location.y - pressedAt_.y));
        const double top = window.frame().maxY();
        const CGRect resized{window.frame().minX(), top - height, width, height};
        if (resized != window.frame()) window.setFrame(resized, true);
        return;
    }
    default:
        return;
    }
}

} // namespace platform::ui
