#pragma once

namespace platform::ui {
class Alert;
class Window;
} // namespace platform::ui

namespace tilmora::GlobalShortcuts {

/// Shows `alert` and returns the modal response (1000 for the first button, 1001 for the second,
/// ...). Without a window the alert runs application-modally (`Alert::runModal`); with one it is
/// begun as a sheet on the window, whose completion ends the application's modal run of that
/// window with the sheet's response. Main thread only; blocks in a modal run of the main run loop.
long runModal(platform::ui::Alert& alert, platform::ui::Window* window);

} // namespace tilmora::GlobalShortcuts
