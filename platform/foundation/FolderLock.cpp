#include "platform/foundation/FolderLock.hpp"

#include "platform/foundation/Error.hpp"
#include "platform/foundation/StandardError.hpp"

#include <cerrno>
#include <cstring>
#include <exception>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace platform {

namespace {

using FileIdentity = std::pair<dev_t, ino_t>;

/// A folder this process holds: its path as locked and the identity of the folder locked.
struct HeldFolder {
    std::filesystem::path path;
    FileIdentity identity;
    bool reported = false;
};

/// The lock files this process holds, each with the other descriptors of it that had to stay open
/// (closing any descriptor of a file gives up every record lock the process holds on it), and the
/// folders held, by the descriptor of the folder's own lock.
struct HeldFiles {
    std::mutex mutex;
    std::map<FileIdentity, std::vector<int>> spares;
    std::map<int, HeldFolder> folders;
    /// Folders released while their path named another folder or nothing: what is written after
    /// the release (a last flush on the way out of the process) does not go there either.
    std::vector<std::filesystem::path> lost;
    std::function<void(const std::string&)> report;
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

/// The process that holds an `flock` on the file of `identity`, as /proc/locks names it; none when
/// it cannot be told.
std::optional<long> flockHolder(const FileIdentity& identity) {
    std::ifstream locks("/proc/locks");
    std::string line;
    std::ostringstream wanted;
    wanted << std::hex;
    wanted.width(2);
    wanted.fill('0');
    wanted << major(identity.first) << ':';
    wanted.width(2);
    wanted << minor(identity.first) << ':' << std::dec << identity.second;
    while (std::getline(locks, line)) {
        std::istringstream fields(line);
        std::string number, kind, mode, access, pid, file;
        if (!(fields >> number >> kind)) continue;
        if (kind == "->") continue; // a waiter, not a holder
        if (!(fields >> mode >> access >> pid >> file)) continue;
        if (kind != "FLOCK" || file != wanted.str()) continue;
        try {
            const long holder = std::stol(pid);
            if (holder > 0) return holder;
        } catch (const std::exception&) {
        }
    }
    return std::nullopt;
}

bool within(const std::filesystem::path& path, const std::filesystem::path& folder) {
    const std::string& inner = path.native();
    const std::string& outer = folder.native();
    if (inner.size() < outer.size() || inner.compare(0, outer.size(), outer) != 0) return false;
    return inner.size() == outer.size() || inner[outer.size()] == '/' || outer.ends_with('/');
}

} // namespace

FolderLock FolderLock::tryLock(const std::filesystem::path& folder) {
    const std::filesystem::path file = folder / lockFileName;
    auto& files = heldFiles();
    std::lock_guard guard(files.mutex);
    // The folder the user named (a link to a folder included: the link's own name is what stays).
    const int folderDescriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderDescriptor < 0) fail(folder, std::strerror(errno));
    const auto folderIdentity = identityOf(folderDescriptor);
    if (!folderIdentity) {
        const int error = errno;
        ::close(folderDescriptor);
        fail(folder, std::strerror(error));
    }
    // No link is followed and no open waits (a pipe put there opens at once and is refused below).
    const int descriptor = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        const int error = errno;
        ::close(folderDescriptor);
        fail(file, std::strerror(error));
    }
    struct stat info {};
    if (::fstat(descriptor, &info) != 0) {
        const int error = errno;
        ::close(descriptor);
        ::close(folderDescriptor);
        fail(file, std::strerror(error));
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(descriptor);
        ::close(folderDescriptor);
        fail(file, "not a regular file");
    }
    FolderLock lock;
    const FileIdentity identity{info.st_dev, info.st_ino};
    if (auto known = files.spares.find(identity); known != files.spares.end()) {
        // Held by this process already: this descriptor stays open with the holder's.
        known->second.push_back(descriptor);
        ::close(folderDescriptor);
        lock.holder_ = static_cast<long>(::getpid());
        return lock;
    }
    for (const auto& [held, heldFolder] : files.folders) {
        if (heldFolder.identity != *folderIdentity) continue;
        // This process holds the folder through a lock file that is gone or was replaced; the
        // new file never had a record lock of this process, so closing it gives up nothing.
        ::close(descriptor);
        ::close(folderDescriptor);
        lock.holder_ = static_cast<long>(::getpid());
        return lock;
    }
    // The folder's own lock first: whatever became of the lock file, a second holder stops here.
    if (::flock(folderDescriptor, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error != EWOULDBLOCK) {
            ::close(descriptor);
            ::close(folderDescriptor);
            fail(folder, std::strerror(error));
        }
        struct flock query = wholeFile(F_WRLCK);
        if (::fcntl(descriptor, F_GETLK, &query) == 0 && query.l_type != F_UNLCK && query.l_pid > 0)
            lock.holder_ = static_cast<long>(query.l_pid);
        else
            lock.holder_ = flockHolder(*folderIdentity);
        ::close(descriptor);
        ::close(folderDescriptor);
        return lock;
    }
    // The holder may let go between the refusal and the question; ask again then.
    for (int attempt = 0; attempt < 8; ++attempt) {
        struct flock range = wholeFile(F_WRLCK);
        if (::fcntl(descriptor, F_SETLK, &range) == 0) {
            files.spares[identity];
            files.folders[folderDescriptor] = HeldFolder{folder.lexically_normal(), *folderIdentity};
            lock.descriptor_ = descriptor;
            lock.folderDescriptor_ = folderDescriptor;
            return lock;
        }
        if (errno != EAGAIN && errno != EACCES) {
            const int error = errno;
            ::close(descriptor);
            ::close(folderDescriptor);
            fail(file, std::strerror(error));
        }
        struct flock query = wholeFile(F_WRLCK);
        if (::fcntl(descriptor, F_GETLK, &query) == 0 && query.l_type != F_UNLCK) {
            ::close(descriptor);
            ::close(folderDescriptor);
            if (query.l_pid > 0) lock.holder_ = static_cast<long>(query.l_pid);
            return lock;
        }
    }
    ::close(descriptor);
    ::close(folderDescriptor);
    return lock;
}

bool FolderLock::allowsWriting(const std::filesystem::path& path) {
    auto& files = heldFiles();
    std::string said;
    std::function<void(const std::string&)> report;
    {
        std::lock_guard guard(files.mutex);
        if (files.folders.empty() && files.lost.empty()) return true;
        const auto normal = path.lexically_normal();
        for (const auto& folder : files.lost)
            if (within(normal, folder)) return false;
        bool allowed = true;
        for (auto& [descriptor, folder] : files.folders) {
            if (!within(normal, folder.path)) continue;
            struct stat now {};
            if (::stat(folder.path.c_str(), &now) == 0 &&
                FileIdentity{now.st_dev, now.st_ino} == folder.identity)
                continue;
            allowed = false;
            if (!folder.reported) {
                folder.reported = true;
                said =
                    "The folder " + folder.path.string() +
                    " is no longer this session's folder (it was renamed or replaced while the session ran): "
                    "nothing more is written there";
                report = files.report;
            }
        }
        if (allowed) return true;
    }
    if (!said.empty()) {
        if (report)
            report(said);
        else
            StandardError::write(said + "\n");
    }
    return false;
}

void FolderLock::setReportHandler(std::function<void(const std::string&)> handler) {
    auto& files = heldFiles();
    std::lock_guard guard(files.mutex);
    files.report = std::move(handler);
}

FolderLock::FolderLock(FolderLock&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1))
    , folderDescriptor_(std::exchange(other.folderDescriptor_, -1))
    , holder_(std::exchange(other.holder_, std::nullopt)) {}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
    if (this != &other) {
        release();
        descriptor_ = std::exchange(other.descriptor_, -1);
        folderDescriptor_ = std::exchange(other.folderDescriptor_, -1);
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
    if (folderDescriptor_ >= 0) {
        if (auto held = files.folders.find(folderDescriptor_); held != files.folders.end()) {
            struct stat now {};
            if (::stat(held->second.path.c_str(), &now) != 0 ||
                FileIdentity{now.st_dev, now.st_ino} != held->second.identity)
                files.lost.push_back(held->second.path);
            files.folders.erase(held);
        }
        ::close(std::exchange(folderDescriptor_, -1));
    }
}

} // namespace platform
