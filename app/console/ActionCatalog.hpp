#pragma once

#include <string>
#include <vector>

namespace tilmora {

/// The action selectors `ui action` sends to the program, with what each does: the shell's
/// command table (every selector the program answers), the windows some of them open first.
/// Titles are read in the program's language. Main thread; logs nothing.
class ActionCatalog {
public:
    /// Every selector, the ones that open a window first, then in the shell's table order.
    static std::vector<std::string> selectors();
    /// Whether `selector` is a message that takes a Boolean ("setLaunchAtLoginWithEnabled:").
    static bool takesBoolean(const std::string& selector);
    /// The `help actions` text: a heading line, then one line a selector, indented by two spaces:
    /// the selector, blanks, what it opens or does ("the layout editor (no menu item opens it)",
    /// "as the menu item "Left Half""). Each line ends in "\n".
    static std::string helpText();
};

} // namespace tilmora
