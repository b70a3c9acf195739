#pragma once

#include <optional>
#include <string>

namespace platform {

/// A version of the operating system.
struct OperatingSystemVersion {
    int majorVersion = 0;
    int minorVersion = 0;
    int patchVersion = 0;
    auto operator<=>(const OperatingSystemVersion&) const = default;
};

/// Facts about the running process and its system. The simulated system reports version 15.3.0
/// unless the simulator sets another (`SimInput::setOperatingSystemVersion`). Any thread.
class ProcessInfo {
public:
    static ProcessInfo& processInfo();

    OperatingSystemVersion operatingSystemVersion() const;
    /// "Version 15.3 (Build 24D60)"-like text: "Version " + major.minor[.patch when not 0].
    std::string operatingSystemVersionString() const;
    /// True when the running version is `version` or later.
    bool isOperatingSystemAtLeast(const OperatingSystemVersion& version) const;

    /// The value of the environment variable `name` (the host process's variables, as the
    /// simulator may have changed them with `ProcessInfoControl`); none when it is not set.
    std::optional<std::string> environment(const std::string& name) const;

private:
    ProcessInfo() = default;
};

} // namespace platform
