#pragma once

#include <string>

namespace tilmora {

/// A simulated desktop described in JSON (the console's `desktop load` and its default desktop):
///   {"fixture", "displays": [{"id", "name", "frame": [x,y,w,h], "visible", "scale", "spaces",
///    "builtin"}], "apps": [{"bundleIdentifier", "name", "launchDelay", "running", "windows":
///    [{"title", "frame", "space", "min": [w,h], "minimized", "fullScreen"}]}], "frontmost"}
/// Main thread.
class DesktopFile {
public:
    /// Resets the shared simulated desktop and builds the one `json` describes. Throws
    /// `CommandError` "bad desktop file: ..." naming the first fault.
    static void load(const std::string& json);

    /// The desktop of an interactive session: the laptop with a 1920 x 1080 display to its right,
    /// TextEdit, Safari and Notes installed, TextEdit running with one window.
    static const std::string& defaultDesktop();
};

} // namespace tilmora
