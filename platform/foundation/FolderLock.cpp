#include "platform/foundation/FolderLock.hpp"

#include "platform/foundation/Error.hpp"

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

using FileIdentity = std::pair<dev_t, ino_t>;

/// The lock files this process holds, each with the other descriptors of it that had to stay open:
/// closing any descriptor of a file gives up every record lock the process holds on it.
struct HeldFiles {
    std::mutex mutex;
    std::map<FileIdentity, std::vector<int>> spares;
};

HeldFiles& heldFiles() {
    static HeldFiles files;
    return files;
}

std::optional<FileIdentity> identityOf(int descriptor) {
    struct stat info {};
    if (::fstat(descriptor, &info) != 0) return std::nullopt;
    return FileIdentity{info.st_dev, info.st_ino};
}

struct flock wholeFile(short type) {
    struct flock range {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = 0;
    range.l_len = 0;
    return range;
}

[[noreturn]] void fail(const std::filesystem::path& file, const std::string& reason) {
    throw Error(file.string() + ": " + reason);
}

} // namespace

FolderLock FolderLock::tryLock(const std::filesystem::path& folder) {
    const std::filesystem::path file = folder / lockFileName;
    auto& files = heldFiles();
    std::lock_guard guard(files.mutex);
    // No link is followed and no open waits (a pipe put there opens at once and is refused below).
    const int descriptor = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (descriptor < 0) fail(file, std::strerror(errno));
    struct stat info {};
    if (::fstat(descriptor, &info) != 0) {
        const int error = errno;
        ::close(descriptor);
        fail(file, std::strerror(error));
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(descriptor);
        fail(file, "not a regular file");
    }
    FolderLock lock;
    const FileIdentity identity{info.st_dev, info.st_ino};
    if (auto known = files.spares.find(identity); known != files.spares.end()) {
        // Held by this process already: this descriptor stays open with the holder's.
        known->second.push_back(descriptor);
        lock.holder_ = static_cast<long>(::getpid());
        return lock;
    }
    // The holder may let go between the refusal and the question; ask again then.
    for (int attempt = 0; attempt < 8; ++attempt) {
        struct flock range = wholeFile(F_WRLCK);
        if (::fcntl(descriptor, F_SETLK, &range) == 0) {
            files.spares[identity];
            lock.descriptor_ = descriptor;
            return lock;
        }
        if (errno != EAGAIN && errno != EACCES) {
            const int error = errno;
            ::close(descriptor);
            fail(file, std::strerror(error));
        }
        struct flock query = wholeFile(F_WRLCK);
        if (::fcntl(descriptor, F_GETLK, &query) == 0 && query.l_type != F_UNLCK) {
            ::close(descriptor);
            if (query.l_pid > 0) lock.holder_ = static_cast<long>(query.l_pid);
            return lock;
        }
    }
    ::close(descriptor);
    return lock;
}

FolderLock::FolderLock(FolderLock&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1))
    , holder_(std::exchange(other.holder_, std::nullopt)) {}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
    if (this != &other) {
        release();
        descriptor_ = std::exchange(other.descriptor_, -1);
        holder_ = std::exchange(other.holder_, std::nullopt);
    }
    return *this;
}

FolderLock::~FolderLock() {
    release();
}

void FolderLock::release() {
    if (descriptor_ < 0) return;
    auto& files = heldFiles();
    std::lock_guard guard(files.mutex);
    if (const auto identity = identityOf(descriptor_)) {
        if (auto known = files.spares.find(*identity); known != files.spares.end()) {
            for (const int spare : known->second)
                ::close(spare);
            files.spares.erase(known);
        }
    }
    ::close(std::exchange(descriptor_, -1));
}

} // namespace platform
