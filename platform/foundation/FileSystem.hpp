#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

/// File helpers of the platform. Every failing call throws `platform::Error` whose text names the
/// operation, the path and the host's reason, for example
/// `could not open "/home/u/Documents/Tilmora_log.txt" for appending: Is a directory`.
/// Files are bytes: texts are written and read as given (UTF-8 by convention). Thread-safe as
/// far as the host's file system is; nothing here locks.
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

/// Creates `path` and every missing parent folder; an existing folder is fine.
void createDirectories(const std::filesystem::path& path);

/// The whole contents of the file at `path`.
std::string readFile(const std::filesystem::path& path);

/// The whole contents of the regular file at `path`, refusing anything else before reading: a
/// folder, a device (/dev/zero), a pipe, or a file of more than `maxBytes` bytes. Throws
/// `platform::Error` "could not read \"<path>\": <reason>" ("not a regular file", "larger than
/// <maxBytes> bytes", or the system's reason).
std::string readRegularFile(const std::filesystem::path& path, std::size_t maxBytes);

/// Writes `contents` whole and atomically: into a new temporary file in the same folder, flushed
/// to disk, then renamed over `path`. On any failure the temporary file is removed and whatever
/// was at `path` is left exactly as it was. The parent folder must exist.
void writeAtomically(const std::filesystem::path& path, std::string_view contents);

/// Plain write: creates or truncates the file at `path` and writes `contents`. Not atomic.
void writeFile(const std::filesystem::path& path, std::string_view contents);

/// Appends `contents` at the end of the existing file at `path` in one write call (the file is
/// opened in append mode, so concurrent appenders never overwrite each other). Throws when no
/// file exists at `path` or it cannot be opened for writing; never creates the file.
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
