#pragma once

#include "model/WindowMutator.hpp"
#include "platform/desktop/AXUIElement.hpp"

#include <optional>
#include <vector>

namespace tilmora {

/// The system's window mutator: finds another application's window by its window-server number and
/// sets its frame through Accessibility. Holds no state; create it with no arguments. Main thread.
class SystemWindowMutator : public WindowMutator {
public:
    /// Finds the window whose window-server number is `windowId`'s text in decimal (an optional
    /// leading "+" or "-"; within the unsigned 32-bit range), showing the Accessibility prompt when
    /// the program is not trusted. Then writes its position (the top-left corner of `frame`, global
    /// coordinates, as an Accessibility position) and then its size. A window that cannot be found
    /// is left alone; write errors are ignored. No pause, retry, verify or log line.
    void moveAndResize(const WindowId& windowId, const Rect& frame) override;

private:
    /// The Accessibility element of the window, or none: without trust (after asking when
    /// `promptForPermissions`), for a text that is no window number, a number the window list does
    /// not know, or an owner whose Accessibility windows lack it.
    static std::optional<platform::AXUIElement> axWindow(const WindowId& windowId, bool promptForPermissions);

    /// The application element's "AXWindows"; none when the read fails or is not a list of elements.
    static std::optional<std::vector<platform::AXUIElement>> copyWindows(const platform::AXUIElement& app);
};

} // namespace tilmora
