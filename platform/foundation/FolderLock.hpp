#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace platform {

/// An exclusive lock on a folder for the calling process, so that two processes never work in one
/// folder at once. The kernel holds it twice: as an `flock` on a descriptor of the folder itself,
/// and as a record lock on the lock file "<folder>/.tilmora.lock". Both go with the process
/// however the process ends (SIGKILL included); the folder's own lock stays whatever happens to
/// the lock file (removed or replaced while held), and the lock file's tells a process that asks
/// for it while another holds it which process that is.
///
/// Taken without waiting. The lock file is made when missing and is never removed; a refused
/// `tryLock` changes nothing in the folder. A folder this process holds already is refused as
/// well, naming this process.
///
/// While held, the folder's path is expected to keep naming the folder locked: `allowsWriting`,
/// which every writer of the platform asks before it writes a file, creates a folder, moves or
/// removes a file under a held folder, refuses once the path names another folder or nothing (the
/// folder was renamed or replaced), and says so once.
///
/// Released by the destructor. Move-only; any thread; logs only what `allowsWriting` says.
class FolderLock {
public:
    static constexpr const char* lockFileName = ".tilmora.lock";

    /// Takes the lock of the existing folder `folder`. The result holds it (`held()`), or, when
    /// another process (or this one) holds it, holds nothing and names the holder (`holder()`).
    /// Throws `platform::Error` ("<lock file>: <reason>", or "<folder>: <reason>") when the
    /// folder or the lock file cannot be opened, or the lock file cannot be made or is not a
    /// regular file (a link there is not followed, a pipe is not waited for).
    static FolderLock tryLock(const std::filesystem::path& folder);

    /// Whether `path` (a file or folder, absolute) may be written by this process: false only when
    /// it lies within a folder this process holds (the folder itself included) and that folder's
    /// path no longer names the folder locked, compared by device and inode with a fresh `stat`.
    /// A folder released while its path named another folder stays refused for the rest of the
    /// process (a last write on the way out goes nowhere).
    /// The first refusal for a held folder says so once through the report handler: "The folder
    /// <folder> is no longer this session's folder (it was renamed or replaced while the session
    /// ran): nothing more is written there". Never throws; any thread.
    static bool allowsWriting(const std::filesystem::path& path);

    /// Where the refusal of `allowsWriting` is said: one line without its newline, from the thread
    /// that met it. By default (and when `handler` is empty) written to `StandardError`.
    static void setReportHandler(std::function<void(const std::string&)> handler);

    /// A lock that holds nothing.
    FolderLock() = default;
    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&& other) noexcept;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock();

    /// Whether this object holds the folder's lock.
    bool held() const { return descriptor_ >= 0; }
    /// After a refused `tryLock`: the process id of the holder, as the kernel names it; none when
    /// the kernel could not name it (a process of another pid namespace).
    std::optional<long> holder() const { return holder_; }

    /// Gives the lock up now (as the destructor does); nothing when none is held.
    void release();

private:
    int descriptor_ = -1;
    int folderDescriptor_ = -1;
    std::optional<long> holder_;
};

} // namespace platform
