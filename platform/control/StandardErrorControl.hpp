#pragma once

#include <functional>
#include <string_view>

namespace platform {

/// The simulator's control of the platform's diagnostics stream (`StandardError`).
class StandardErrorControl {
public:
    using Capture = std::function<void(std::string_view)>;
    /// Routes every later write to `capture` instead of the process's standard error; an empty
    /// function restores standard error. Not reset between tests: whoever sets it clears it. Any
    /// thread; the capture is called with the writers' lock held.
    static void setCapture(Capture capture);
};

} // namespace platform
