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
    /// Checks every field of `json`, then resets the shared simulated desktop and builds the one it
    /// describes. Throws `CommandError` "bad desktop file: <field path>: ..." naming the first fault
    /// ("displays[1].id: ..."); the desktop is then unchanged. Numbers get the console commands'
    /// checks: display ids 1 to 2^32-1 and unique, positive sizes and scales, 1 to 16 Spaces,
    /// finite frames and edges, a visible frame inside its frame, window Spaces of the window's
    /// display, launch delays up to a day.
    /// A text that is not JSON fails with "bad desktop file: line L, column C: expected ..., found
    /// ..." (`JsonSyntax`).
    static void load(const std::string& json);
    /// Reads the desktop file at `path` (a regular file of at most `DesktopConsole::maxFileBytes`)
    /// and loads it. Throws `CommandError` "cannot read PATH: <reason>" when it cannot be read.
    static void loadFile(const std::string& path);
    /// Builds one of the simulator's desktops by name ("laptop", "laptop-external",
    /// "two-displays", or "default": `defaultDesktop`); false (nothing changed) for another name.
    static bool useNamed(const std::string& name);
    /// The names `useNamed` takes, as the console lists them: "default, laptop, laptop-external,
    /// two-displays".
    static const char* names();

    /// The desktop of an interactive session: the laptop with a 1920 x 1080 display to its right,
    /// TextEdit, Safari and Notes installed, TextEdit running with one window.
    static const std::string& defaultDesktop();
};

} // namespace tilmora
