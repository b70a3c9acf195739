#pragma once

#include "platform/foundation/Date.hpp"
#include "platform/foundation/SharedInstance.hpp"

#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <sys/types.h>

namespace platform::desktop_detail {

/// The simulator's settings for the host services the control API reaches (folder listings,
/// removals and write permission, the user id, the update framework's start). Reset with the
/// shared instances.
struct HostKnobs {
    static constexpr SharedScope sharedScope = SharedScope::desktop;
    static HostKnobs& shared() { return SharedInstance<HostKnobs>::get(); }

    struct Dates {
        std::optional<Date> modification;
        std::optional<Date> creation;
    };
    std::mutex mutex;
    /// Dates a listing reports for a file instead of the file system's own, by full path.
    std::map<std::filesystem::path, Dates> dates;
    /// Folders whose listing throws, with the error's text.
    std::map<std::filesystem::path, std::string> listingErrors;
    /// Paths whose removal throws, with the error's text.
    std::map<std::filesystem::path, std::string> removalErrors;
    /// Paths that `FileSystem::isWritable` reports as not writable.
    std::set<std::filesystem::path> writeDenied;
    uid_t uid = 501;
    std::optional<std::string> updaterStartError;
};

} // namespace platform::desktop_detail
