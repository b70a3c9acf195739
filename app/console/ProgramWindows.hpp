#pragma once

#include "platform/ui/StatusItem.hpp"
#include "platform/ui/Window.hpp"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tilmora {

/// What the console's `menu` and `ui` commands reach of the program running in this process: its
/// own windows (the toolkit's), its status item and the screen a display number names. Throws
/// `CommandError` with the console's texts when something is not there. Main thread.
class ProgramWindows {
public:
    /// The names of the two untitled panels.
    static constexpr const char* snapBarName = "snap bar";
    static constexpr const char* toastName = "toast";
    /// The names of the two editors, which share their title ("Layout Editor – DISPLAY").
    static constexpr const char* presetEditorName = "preset editor";
    static constexpr const char* layoutEditorName = "layout editor";

    /// The program's windows in creation order, without the menu-bar windows that hold status
    /// items and without closed windows that are released when closed (a closed window the
    /// program keeps, the preferences after its Close button, is there, hidden).
    static std::vector<std::shared_ptr<platform::ui::Window>> windows();
    /// The window `name` names: "#N" the window numbered N (as `ui windows` prints it), a name of
    /// `panelName` ("snap bar", "toast", "preset editor", "layout editor") that window, anything
    /// else the one window with that title (as it stands, else in its ASCII spelling,
    /// `ConsoleText::namesTitle`). Throws "no program window "NAME"" when there is none: with the
    /// nearest of the windows' titles and the names (`names`) and where they are listed (`ui
    /// windows`), else the windows there are and the names (for "" what the names are), and, when
    /// several windows have the title, a message that lists them with their numbers.
    static platform::ui::Window& window(const std::string& name);
    /// The name the console gives a window its title does not name well: an untitled panel
    /// ("snap bar", "toast") or an editor ("preset editor", "layout editor"); none for others.
    static std::optional<std::string> panelName(const platform::ui::Window& window);
    /// Every name `panelName` gives, whether or not that window is there now.
    static std::vector<std::string> names();
    /// How messages name a window: its panel name, else its title, else "#N".
    static std::string displayName(const platform::ui::Window& window);

    /// The program's status item: the first visible item of the status bar. Throws "the program
    /// has no status item".
    static platform::ui::StatusItem& statusItem();

    /// The place in the screen list of the display numbered `display` (as `show screens` prints
    /// it; none: the main display). Throws "no display N", or `noDisplay` when there is none.
    static std::size_t screenIndex(std::optional<long> display);

    /// What the console says when the desktop has no display: "there is no display: start with
    /// `desktop default` (or laptop, laptop-external, two-displays, load FILE)".
    static const char* const noDisplay;
    /// Throws `noDisplay` when the desktop has no display.
    static void requireDisplay();
    /// The window titles quoted and joined ("\"A\", \"B\""; "none" when there is none).
    static std::string titles();
};

} // namespace tilmora
