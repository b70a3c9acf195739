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

    /// The program's windows in creation order, without the menu-bar windows that hold status
    /// items and without closed windows.
    static std::vector<std::shared_ptr<platform::ui::Window>> windows();
    /// The window `name` names: "#N" the window numbered N (as `ui windows` prints it), "snap bar"
    /// the snap bar's panel, "toast" the toast panel, anything else the one window with that
    /// title (as it stands, else in its ASCII spelling, `ConsoleText::namesTitle`). Throws "no
    /// program window "NAME"" with the nearest names and the windows there are
    /// (`NameSuggestions::unknown`; for "" saying what the untitled panels are called) when there
    /// is none, and, when several windows have the title, a message that lists
    /// them with their numbers.
    static platform::ui::Window& window(const std::string& name);
    /// The name of an untitled panel ("snap bar", "toast"); none for other windows.
    static std::optional<std::string> panelName(const platform::ui::Window& window);
    /// How messages name a window: its title, else its panel name, else "#N".
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
