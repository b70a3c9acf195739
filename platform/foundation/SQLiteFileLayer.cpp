#include "platform/foundation/SQLiteFileLayer.hpp"

#include "platform/foundation/Error.hpp"
#include "platform/foundation/FolderLock.hpp"

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::SQLiteFileLayer {

namespace {

constexpr const char* kName = "tilmora-owned";

sqlite3_vfs* host = nullptr;
sqlite3_vfs layer{};
using OpenCall = int (*)(const char*, int, int);
OpenCall hostOpen = nullptr;

/// What the opens of the calling thread must keep to while the layer's `xOpen` runs: refuse all
/// but a regular file (`strict`), and follow no link (`noFollow`). Outside `xOpen` SQLite opens
/// only its folder (to flush it) and the shared memory beside a write-ahead log.
struct OpenRules {
    bool strict = false;
    bool noFollow = false;
};
thread_local OpenRules rules;

/// SQLite's `open` system call, for every file the host's layer opens.
int ownedOpen(const char* path, int flags, int mode) {
    if (std::strcmp(path, "/dev/null") == 0) return hostOpen(path, flags, mode);
    const bool writing = (flags & O_ACCMODE) != O_RDONLY || (flags & O_CREAT) != 0;
    int extra = O_NONBLOCK;
    if (writing || rules.noFollow) extra |= O_NOFOLLOW;
    const int fd = hostOpen(path, flags | extra, mode);
    if (fd < 0) return fd;
    struct stat info {};
    int refusal = ENXIO;
    if (::fstat(fd, &info) == 0) {
        if (S_ISREG(info.st_mode)) {
            if ((flags & O_NONBLOCK) == 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
            return fd;
        }
        // Its folder, opened read-only to flush the folder after a file was made or removed.
        if (S_ISDIR(info.st_mode) && !rules.strict && !writing) return fd;
        if (S_ISDIR(info.st_mode)) refusal = EISDIR;
    } else {
        refusal = errno;
    }
    ::close(fd);
    errno = refusal;
    return -1;
}

int layerOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
    if (name != nullptr && (flags & (SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)) != 0 &&
        !FolderLock::allowsWriting(name)) {
        file->pMethods = nullptr;
        return SQLITE_CANTOPEN;
    }
    const OpenRules saved = rules;
    rules.strict = true;
    rules.noFollow = (flags & SQLITE_OPEN_MAIN_DB) == 0 || (flags & SQLITE_OPEN_READWRITE) != 0;
    const int rc = host->xOpen(host, name, file, flags, outFlags);
    rules = saved;
    return rc;
}

int layerAccess(sqlite3_vfs*, const char* name, int flags, int* result) {
    if (flags != SQLITE_ACCESS_EXISTS) return host->xAccess(host, name, flags, result);
    // As the host's answer (an empty regular file counts as none), but a link is not followed.
    struct stat info {};
    *result = ::lstat(name, &info) == 0 && (!S_ISREG(info.st_mode) || info.st_size > 0) ? 1 : 0;
    return SQLITE_OK;
}

void install() {
    host = sqlite3_vfs_find(nullptr);
    if (host == nullptr) throw Error("SQLite has no file layer");
    if (host->iVersion < 3 || host->xSetSystemCall == nullptr || host->xGetSystemCall == nullptr)
        throw Error("SQLite's file layer cannot be wrapped");
    hostOpen = reinterpret_cast<OpenCall>(host->xGetSystemCall(host, "open"));
    if (hostOpen == nullptr ||
        host->xSetSystemCall(host, "open", reinterpret_cast<sqlite3_syscall_ptr>(&ownedOpen)) != SQLITE_OK)
        throw Error("SQLite's file layer cannot be wrapped");
    layer = *host;
    layer.pNext = nullptr;
    layer.zName = kName;
    layer.xOpen = layerOpen;
    layer.xAccess = layerAccess;
    if (sqlite3_vfs_register(&layer, 0) != SQLITE_OK) throw Error("SQLite's file layer cannot be registered");
}

} // namespace

const char* name() {
    static std::once_flag once;
    std::call_once(once, install);
    return kName;
}

} // namespace platform::SQLiteFileLayer
