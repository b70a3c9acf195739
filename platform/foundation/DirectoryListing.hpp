#pragma once

#include "platform/foundation/Date.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace platform {

/// One item of a folder listing with the dates asked for.
struct DirectoryEntry {
    std::filesystem::path url;
    std::string name;
    /// The content modification date; none when the file system gives none.
    std::optional<Date> contentModificationDate;
    /// The creation date; none when the file system gives none (this host keeps none unless the
    /// simulator sets one).
    std::optional<Date> creationDate;
};

/// Lists a folder's items with their dates, sorted by name. Hidden items (names starting with
/// ".") are skipped when asked. Throws `platform::Error` when the folder cannot be listed (or the
/// simulator makes its listing fail, `FileSystemControl`). Any thread; logs nothing.
class DirectoryListing {
public:
    static std::vector<DirectoryEntry> contents(const std::filesystem::path& folder, bool skipHidden = true);
};

} // namespace platform
