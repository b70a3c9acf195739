#include "platform/input/ProcessInfo.hpp"

#include "platform/internal/InputState.hpp"
#include "platform/internal/ProcessEnvironment.hpp"

namespace platform {

ProcessInfo& ProcessInfo::processInfo() {
    static ProcessInfo info;
    return info;
}

OperatingSystemVersion ProcessInfo::operatingSystemVersion() const {
    return input_detail::state().osVersion;
}

std::string ProcessInfo::operatingSystemVersionString() const {
    auto v = operatingSystemVersion();
    std::string text = "Version " + std::to_string(v.majorVersion) + "." + std::to_string(v.minorVersion);
    if (v.patchVersion != 0) text += "." + std::to_string(v.patchVersion);
    return text;
}

bool ProcessInfo::isOperatingSystemAtLeast(const OperatingSystemVersion& version) const {
    return operatingSystemVersion() >= version;
}

std::optional<std::string> ProcessInfo::environment(const std::string& name) const {
    auto& env = process_detail::environment();
    std::lock_guard lock(env.mutex);
    auto it = env.variables.find(name);
    if (it == env.variables.end()) return std::nullopt;
    return it->second;
}

} // namespace platform
