#pragma once

#include <filesystem>
#include <optional>

namespace platform {

/// An exclusive lock on a folder for the calling process, so that two processes never work in one
/// folder at once. The kernel holds it, as a record lock on the lock file "<folder>/.tilmora.lock":
/// it goes with the process however the process ends (SIGKILL included), and a process that asks
/// for it while another holds it learns which process that is.
///
/// Taken without waiting. The lock file is made when missing and is never removed (a removed lock
/// file would let two processes lock two files of one name); a refused `tryLock` changes nothing
/// in the folder. A folder this process holds already is refused as well, naming this process.
/// Released by the destructor. Move-only; any thread; logs nothing.
class FolderLock {
public:
    static constexpr const char* lockFileName = ".tilmora.lock";

    /// Takes the lock of the existing folder `folder`. The result holds it (`held()`), or, when
    /// another process (or this one) holds it, holds nothing and names the holder (`holder()`).
    /// Throws `platform::Error` ("<lock file>: <reason>") when the lock file cannot be opened or
    /// made, or is not a regular file (a link there is not followed, a pipe is not waited for).
    static FolderLock tryLock(const std::filesystem::path& folder);

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
    std::optional<long> holder_;
};

} // namespace platform
