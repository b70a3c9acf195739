#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace platform {

/// What the file system says about one file or folder without reading it: its size, its
/// modification time and its identity (device and inode), taken together so that a cache can tell
/// whether the item changed since it last looked.
///
/// File times are coarse on some file systems: an item written twice within one tick of the
/// clock keeps one time. `settled` is true when the item was last modified at least a second
/// before the stamp was taken; a cache should trust an unchanged stamp only when the stamp it
/// kept was settled, and look again otherwise. Any thread; never throws; logs nothing.
struct FileStamp {
    std::uintmax_t size = 0;
    /// Modification time in nanoseconds since the file clock's epoch.
    std::int64_t modificationNanoseconds = 0;
    std::uintmax_t device = 0;
    std::uintmax_t inode = 0;
    bool isDirectory = false;
    /// Modified at least a second before the stamp was taken.
    bool settled = false;

    /// The stamp of the item at `path` (following symbolic links); none when there is nothing
    /// there or it cannot be examined.
    static std::optional<FileStamp> of(const std::filesystem::path& path);

    /// Same item, same size, same modification time (`settled` plays no part).
    bool sameAs(const FileStamp& other) const {
        return size == other.size && modificationNanoseconds == other.modificationNanoseconds &&
               device == other.device && inode == other.inode && isDirectory == other.isDirectory;
    }
};

} // namespace platform
