#pragma once

#include "platform/control/PicturePainter.hpp"

#include <string>

namespace platform::ui {

/// How the screen capture draws a titled window's frame: a rounded rectangle with a thin outline,
/// a title bar along its top edge (`Window::titleBarHeight` points) with the three window buttons
/// at its left, where `TitleBarGeometry` puts them (where the program's windows take their
/// clicks), and the title centred, in the active colours when the window's application is
/// frontmost; a button the window lacks (no close, minimize or zoom in its style mask) is drawn
/// grey, as a disabled button is. Global coordinates or any other y-up space (points).
namespace WindowChrome {

/// The corner radius of a titled window (points).
inline constexpr double cornerRadius = 8;

/// Which of the three window buttons a window has.
struct Buttons {
    bool close = true;
    bool minimize = true;
    bool zoom = true;
};

/// Fills the window's body with `body`, then draws the title bar and the outline.
void draw(PicturePainter& painter, const CGRect& frame, const std::string& title, bool active, const Color& body,
          Buttons buttons = {});

} // namespace WindowChrome

} // namespace platform::ui
