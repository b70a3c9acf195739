#pragma once

namespace platform::ui {

class Window;

/// What the window server and the application do with a click on one of the program's windows
/// before the click reaches the view under it, so that a pointer click and the driver's clicks
/// (`UISimulator`, `ViewDriver`) act alike. Main thread.
namespace ClickActivation {

/// A mouse-down lands on `window`: unless the window is a non-activating panel (style bit 128),
/// the program becomes the active application (the desktop brings it to the front and posts the
/// workspace's did-activate notification when another application was in front) and a window
/// that can become key is made key and ordered in front of the desktop's other windows (of its
/// level). Nothing is logged.
void windowTakesClick(Window& window);

} // namespace ClickActivation

} // namespace platform::ui
