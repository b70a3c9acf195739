#pragma once

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

namespace platform {

/// One thing the system did to the simulated desktop, recorded for tests and the console.
struct JournalEntry {
    enum class Kind {
        axWrite,     ///< an Accessibility attribute write: `what` = attribute, `detail` = value
        axAction,    ///< an Accessibility action: `what` = action
        activation,  ///< an activation request: `detail` = options and outcome
        launch,      ///< a launch request: `what` = bundle identifier
        termination, ///< terminate / forceTerminate: `what` = "terminate" or "forceTerminate"
        signal,      ///< kill(pid, sig): `what` = signal number
        script,      ///< a script run: `what` = source, `result` = error number (0 = success)
        keyEvent,    ///< a posted key event: `what` = key code, `detail` = flags and target
        spaceMove,   ///< a move of windows to a Space: `what` = function, `detail` = Space id
        spaceSwitch, ///< the active Space of a display changed: `detail` = new Space id
        process,     ///< a process run: `argv` = executable and arguments
        prompt,      ///< a permission prompt: `what` = "accessibility" or "automation"
        open,        ///< a URL or path opened: `what` = the URL text
        loginItem,   ///< a login-item register or unregister call
        update       ///< the update framework's calls and callbacks
    };
    double time = 0;
    Kind kind = Kind::axWrite;
    pid_t pid = 0;
    std::uint32_t window = 0;
    std::string what;
    std::string detail;
    int result = 0;
    std::vector<std::string> argv;
};

} // namespace platform
