#pragma once

#include <string>
#include <vector>

namespace platform {

/// A child process run against the simulated desktop. Known executables:
/// - "/usr/bin/open": "-n" (a new instance), "-b ID" (by bundle identifier), "-a NAME-OR-PATH",
///   or a URL or path; status 0, or 1 with a message on standard error for an unknown application;
/// - "/bin/launchctl": "bootstrap DOMAIN PLIST", "bootout DOMAIN PLIST", "enable TARGET",
///   "print TARGET" against a table of loaded services (a bootstrap of a loaded service fails with
///   "Service already loaded", a print of an unknown one with "Could not find service"), unless a
///   result was queued for the subcommand (`SimDesktop::queueLaunchctlResult`).
/// Every run is journalled with its argv. Runs complete at once; `waitUntilExit` never blocks.
/// Any thread; logs nothing.
class Process {
public:
    std::string executablePath;
    std::vector<std::string> arguments;

    /// Starts the process. Throws `platform::Error` ("The file “PATH” doesn’t exist.") when the
    /// executable is unknown or made missing.
    void run();
    void waitUntilExit() {}
    bool isRunning() const { return false; }
    /// The exit status (valid after `run`).
    int terminationStatus() const { return status_; }
    /// Everything the process wrote to standard output / standard error (UTF-8).
    const std::string& standardOutput() const { return out_; }
    const std::string& standardError() const { return err_; }

private:
    int status_ = 0;
    std::string out_;
    std::string err_;
};

} // namespace platform
