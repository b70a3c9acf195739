#pragma once

#include "platform/foundation/Date.hpp"

#include <filesystem>
#include <optional>
#include <string>

namespace platform {

/// The simulator's control of folder listings (`DirectoryListing`), removals
/// (`FileSystem::removeItem`, `FileSystem::removeFolder`) and write permission
/// (`FileSystem::isWritable`). Reset with the shared instances.
class FileSystemControl {
public:
    /// The dates a listing reports for the file at `path` (none: the date is missing).
    static void setDates(const std::filesystem::path& path, std::optional<Date> modification,
                         std::optional<Date> creation);
    /// Makes listing `folder` throw `error` (none: listing works again).
    static void setListingError(const std::filesystem::path& folder, std::optional<std::string> error);
    /// Makes removing `path` throw `error` (none: removal works again).
    static void setRemovalError(const std::filesystem::path& path, std::optional<std::string> error);
    /// Makes `FileSystem::isWritable` report the file or folder at `path` as one the user may not
    /// write (false: as the file system says again), as permissions do for a user other than root.
    static void setWriteDenied(const std::filesystem::path& path, bool denied);
};

} // namespace platform
