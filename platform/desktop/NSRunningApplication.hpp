#pragma once

#include "platform/desktop/NSApplicationActivationPolicy.hpp"

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace platform {

/// Options of `NSRunningApplication::activate`.
enum NSApplicationActivationOptions : unsigned {
    NSApplicationActivateAllWindows = 1,
    NSApplicationActivateIgnoringOtherApps = 2,
};

/// A handle on one process of the simulated desktop, identified by its pid. The handle stays
/// valid after the process ends (then `isTerminated` is true and requests fail). Two handles are
/// equal when they name the same process. Any thread; logs nothing; every request is journalled.
class NSRunningApplication {
public:
    explicit NSRunningApplication(pid_t pid)
        : pid_(pid) {}

    /// The running applications with this bundle identifier, in launch order.
    static std::vector<NSRunningApplication> runningApplications(const std::string& bundleIdentifier);
    /// The process with this pid, while it is running (or launching).
    static std::optional<NSRunningApplication> runningApplication(pid_t pid);
    /// The program itself.
    static NSRunningApplication current();

    pid_t processIdentifier() const { return pid_; }
    std::optional<std::string> bundleIdentifier() const;
    std::optional<std::string> localizedName() const;
    /// The application's bundle path ("/Applications/Name.app").
    std::optional<std::string> bundlePath() const;
    NSApplicationActivationPolicy activationPolicy() const;
    bool isTerminated() const;
    bool isFinishedLaunching() const;
    bool isActive() const;
    bool isHidden() const;

    /// Asks the application to come to the front (options: `NSApplicationActivationOptions`).
    /// Answers per the application's activation behaviour: refused and ended applications answer
    /// false; a delayed activation answers true and happens later.
    bool activate(unsigned options);
    bool hide();
    bool unhide();
    /// Asks the application to quit; true when the request was delivered. An application that obeys
    /// ends after its quit delay (posting the did-terminate notification).
    bool terminate();
    /// As `terminate`, for the forced request.
    bool forceTerminate();

    bool operator==(const NSRunningApplication&) const = default;

private:
    pid_t pid_;
};

} // namespace platform
