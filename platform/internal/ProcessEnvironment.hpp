#pragma once

#include "platform/foundation/SharedInstance.hpp"

#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace platform::process_detail {

/// The process environment as `ProcessInfo::environment` reports it: the host process's variables
/// as they were when the state was made, with the control API's changes on top. A shared
/// instance, so `SharedInstances::resetAll` goes back to the host's variables. Any thread (under
/// `mutex`).
struct ProcessEnvironment {
    static constexpr SharedScope sharedScope = SharedScope::desktop;
    ProcessEnvironment();

    std::mutex mutex;
    std::map<std::string, std::string> variables;
};

inline ProcessEnvironment& environment() {
    return SharedInstance<ProcessEnvironment>::get();
}

} // namespace platform::process_detail
