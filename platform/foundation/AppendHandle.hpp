#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace platform {

/// A file kept open for appending between writes, for a writer that appends often to one path
/// (the program's log): it saves the open and close of every write. The handle holds the file it
/// opened, not the path, so before each write its owner asks `isOpenOn`, which tells with one
/// `lstat` of the path whether the path still names that very file: the same device and inode,
/// still a regular file with the same permission bits and owner. A file removed, replaced, turned
/// into a symbolic link (to anything, itself included), a pipe or a folder, or whose permissions
/// changed, is noticed then, and the owner opens the path anew under its own rules.
///
/// Opens never follow a symbolic link at the path (`O_NOFOLLOW`: they report it and open nothing,
/// so the owner decides what a link gets), never wait on a pipe or a device (`O_NONBLOCK`) and
/// keep only a regular file; the file is closed on `exec`. A failing call throws
/// `platform::Error` with the texts of `FileSystem::writeFile` and `FileSystem::appendToFile` and
/// leaves the handle closed. Every write is one `write` call on a descriptor opened with
/// `O_APPEND`, so a line is in the file when the call returns and other appenders never overwrite
/// it.
///
/// Every open also asks `FolderLock::allowsWriting` and throws its text when the path lies in a
/// folder this process no longer holds.
///
/// Not thread-safe: the owner serializes its calls. Closes the file when destroyed. Logs nothing.
class AppendHandle {
public:
    /// What is at a path, looked at with `lstat` (a link is not followed).
    enum class PathKind {
        nothing,
        regularFile,
        /// A symbolic link, to anything or to nothing.
        link,
        folder,
        /// A pipe, a device or a socket.
        special,
        /// The path could not be examined (no permission to search its folder, ...).
        unknown,
    };
    /// What is at `path` now. Never throws; any thread.
    static PathKind kindAt(const std::filesystem::path& path);

    AppendHandle() = default;
    ~AppendHandle();
    AppendHandle(const AppendHandle&) = delete;
    AppendHandle& operator=(const AppendHandle&) = delete;

    /// Whether a file is open.
    bool isOpen() const { return fd_ >= 0; }

    /// Whether the handle is open on the file `path` names now (see the class comment). False
    /// when it is closed, was opened at another path, or the path cannot be examined. Never throws.
    bool isOpenOn(const std::filesystem::path& path) const;

    /// Creates the file at `path`, or empties the regular file there, writes `contents` and keeps
    /// the file open; returns true. Returns false, touching nothing and leaving the handle
    /// closed, when `path` is a symbolic link (a dangling one too). Throws as
    /// `FileSystem::writeFile`: "could not create \"<path>\": <reason>" (a pipe or device there:
    /// "not a regular file", left as it was), "could not write ...".
    bool create(const std::filesystem::path& path, std::string_view contents);

    /// Opens the existing regular file at `path`, appends `contents` and keeps the file open;
    /// returns true. Returns false, touching nothing and leaving the handle closed, when `path` is
    /// a symbolic link. Throws as `FileSystem::appendToFile`: "could not open for appending
    /// \"<path>\": <reason>" (nothing there: "No such file or directory"; never creates it),
    /// "could not append to ...".
    bool openAndAppend(const std::filesystem::path& path, std::string_view contents);

    /// Puts a new regular file of its own in the place of whatever is at `path` (meant for a
    /// symbolic link, which is removed; what it leads to is never opened or changed): the file is
    /// made beside it under a fresh name, gets `contents`, and is renamed over `path` in one step;
    /// the handle keeps it open. Throws "could not create \"<path>\": <reason>" (a folder there:
    /// "Is a directory"; a folder the user may not write: "Permission denied"), leaving nothing
    /// behind and the handle closed.
    void replace(const std::filesystem::path& path, std::string_view contents);

    /// Appends `contents` to the open file. Throws "could not append to \"<path>\": <reason>" and
    /// closes the file when the write fails, or when no file is open ("not open").
    void append(std::string_view contents);

    /// Closes the file; nothing when none is open. Never throws.
    void close();

private:
    // Records the identity of the open file (fstat of fd_); throws and closes when it fails.
    void remember(const char* what);

    int fd_ = -1;
    std::filesystem::path path_;
    std::uint64_t device_ = 0;
    std::uint64_t inode_ = 0;
    std::uint32_t mode_ = 0;
    std::uint32_t owner_ = 0;
    std::uint32_t group_ = 0;
};

} // namespace platform
