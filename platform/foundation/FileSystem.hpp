#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

/// File helpers of the platform. Every failing call throws `platform::Error` whose text names the
/// operation, the path and the host's reason, for example
/// `could not open "/home/u/Documents/Tilmora_log.txt" for appending: Is a directory`.
/// Files are bytes: texts are written and read as given (UTF-8 by convention). Thread-safe as
/// far as the host's file system is; nothing here locks.
///
/// No write opens a file through a symbolic link at its path. Every call that changes something
/// (a write, a new folder, a move, a removal) first asks `FolderLock::allowsWriting`: inside a
/// folder this process locked whose path no longer names it (renamed or replaced while held) it
/// throws "<operation> \"<path>\": the folder it lies in is no longer this session's (renamed or
/// replaced)" and changes nothing.
namespace FileSystem {

/// True when anything (file, folder, ...) exists at `path`, following symbolic links (a dangling
/// link counts as nothing); never throws.
bool fileExists(const std::filesystem::path& path);

/// True when `path` is an existing folder; never throws.
bool isDirectory(const std::filesystem::path& path);

/// True when the user may write the existing file or folder at `path` (change the file, or add and
/// remove items in the folder); false when nothing is there, when permissions refuse it, or when
/// the simulator denies it (`FileSystemControl::setWriteDenied`). Never throws.
bool isWritable(const std::filesystem::path& path);

/// The largest file the program reads whole at one of its fixed paths (user-defaults domains, the
/// layout and profile stores, string tables), in bytes; a larger one is refused unread.
inline constexpr std::uintmax_t maxWholeFileBytes = 256u * 1024 * 1024;

/// What `checkOwnedPath` found at a path.
struct PathCheck {
    enum class Kind {
        /// Nothing is there (a dangling link counts as nothing when links are followed).
        nothing,
        /// A regular file (reached through links when they are followed) within the size bound.
        regularFile,
        /// A folder (reached through links when they are followed); not remembered.
        folder,
        /// Anything else: a pipe, a device, a socket, or a link when links are not followed; or a
        /// path refused so earlier in the run.
        notRegular,
        /// A regular file larger than the bound given.
        tooLarge,
        /// The path could not be examined (no permission, a loop of links).
        unknown,
    };
    Kind kind = Kind::nothing;
    /// Why the path cannot be used: "not a regular file", "a folder", "larger than <n> bytes" or
    /// the system's reason ("Too many levels of symbolic links"); empty when it can.
    std::string reason;
    /// True when this check is the first of the run to find the path `notRegular`: the caller
    /// logs the refusal then, and only then.
    bool firstRefusal = false;
    /// The file's size in bytes when it is a regular file.
    std::uintmax_t size = 0;

    /// Whether the path may be opened: nothing there, or a regular file within the bound.
    bool usable() const { return kind == Kind::nothing || kind == Kind::regularFile; }
};

/// The one check of a file the program or the console opens at a fixed path (the log, the
/// user-defaults domains, the snapshot store and its journal files, the layout and profile stores,
/// the launch-agent file, string tables), made before the file is opened and without blocking:
/// only `stat` (`lstat` when `followLinks` is false) looks at the path, so a pipe or a device is
/// never opened. A path found `notRegular` stays refused for the rest of the run, also after a
/// regular file took its place, so nothing is written there (until `SharedInstances::resetAll`);
/// a folder, which no open can wait on, and a regular file over `maxBytes` (`tooLarge`) are not
/// remembered: each owner keeps its own rules for them. Never throws; any thread.
PathCheck checkOwnedPath(const std::filesystem::path& path, bool followLinks = true,
                         std::optional<std::uintmax_t> maxBytes = std::nullopt);

/// Creates `path` and every missing parent folder; an existing folder is fine.
void createDirectories(const std::filesystem::path& path);

/// The whole contents of the file at `path`.
std::string readFile(const std::filesystem::path& path);

/// The whole contents of the regular file at `path`, refusing anything else before reading: a
/// folder, a device (/dev/zero), a pipe, or a file of more than `maxBytes` bytes. Throws
/// `platform::Error` "could not read \"<path>\": <reason>" ("not a regular file", "larger than
/// <maxBytes> bytes", or the system's reason). With `from`, the bytes from that offset on (none
/// when the file is shorter); the bound then holds for those bytes.
std::string readRegularFile(const std::filesystem::path& path, std::size_t maxBytes, std::uintmax_t from = 0);

/// Writes `contents` whole and atomically: into a new temporary file in the same folder, flushed
/// to disk, then renamed over `path`. On any failure the temporary file is removed and whatever
/// was at `path` is left exactly as it was. The parent folder must exist.
void writeAtomically(const std::filesystem::path& path, std::string_view contents);

/// Plain write: creates or truncates the file at `path` and writes `contents`. Not atomic. Never
/// waits on a pipe or a device and never follows a link: anything but a regular file there throws
/// "could not create \"<path>\": not a regular file" ("...: a symbolic link, not followed", or
/// the system's reason) and is left as it was.
void writeFile(const std::filesystem::path& path, std::string_view contents);

/// Appends `contents` at the end of the existing file at `path` in one write call (the file is
/// opened in append mode, so concurrent appenders never overwrite each other). Throws when no
/// file exists at `path` or it cannot be opened for writing; never creates the file. Like
/// `writeFile`, refuses anything but a regular file without waiting on it or following a link.
void appendToFile(const std::filesystem::path& path, std::string_view contents);

/// True when `path` itself is a regular file or a symbolic link (the link is not followed);
/// never throws.
bool isFileOrLink(const std::filesystem::path& path);

/// Removes the file or symbolic link (not what it points to) at `path`. Anything else is left in
/// place: a folder throws "could not remove \"<path>\": Is a directory", a pipe or device "...:
/// not a file". Also throws when nothing is there, or when the simulator makes the removal fail
/// (`FileSystemControl`).
void removeItem(const std::filesystem::path& path);

/// Removes the folder at `path` with everything in it. Throws when `path` is not a folder (a link
/// to one included), or when the simulator makes the removal fail (`FileSystemControl`).
void removeFolder(const std::filesystem::path& path);

/// Renames `from` to `to`, replacing a file at `to`; throws when `from` does not exist.
void moveItem(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace FileSystem

} // namespace platform
