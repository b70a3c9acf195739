#pragma once

#include "platform/control/SimDesktop.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace tilmora {

/// What the console's commands read from the shared simulated desktop. Main thread.
class DesktopQueries {
public:
    struct WindowRow {
        /// The application's bundle identifier, or its process id as text when it has none.
        std::string bundle;
        platform::SimDesktop::WindowState state;
    };

    /// Every open window, by application (launch order), then by window number.
    static std::vector<WindowRow> windows();
    /// The first open window of `bundle` titled `title`.
    static std::optional<WindowRow> findWindow(const std::string& bundle, const std::string& title);
    /// The Desktop number (1-based) of a Space on its display; 0 when no display has it.
    static int desktopNumber(std::uint64_t space);
    /// The first process of `bundle`; throws `CommandError` "application not running: ...".
    static pid_t firstPid(const std::string& bundle);
};

} // namespace tilmora
