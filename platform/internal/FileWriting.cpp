#include "platform/internal/FileWriting.hpp"

#include "platform/foundation/Error.hpp"
#include "platform/foundation/FolderLock.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::file_detail {

int writeAll(int fd, std::string_view contents) {
    const char* p = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return 0;
}

int openRegularForWriting(const std::filesystem::path& path, int flags, const std::string& what) {
    requireWritable(path, what);
    int fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_WRONLY | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd < 0) {
        if (errno == ELOOP) {
            struct stat st {};
            if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
                if ((flags & O_NOFOLLOW) != 0) return -1;
                throw Error(what + " \"" + path.string() + "\": a symbolic link, not followed");
            }
            errno = ELOOP;
        }
        // A pipe without a reader refuses a non-blocking open for writing.
        if (errno == ENXIO) throw Error(what + " \"" + path.string() + "\": not a regular file");
        throw Error(what + " \"" + path.string() + "\": " + std::strerror(errno));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw Error(what + " \"" + path.string() + "\": not a regular file");
    }
    return fd;
}

void requireWritable(const std::filesystem::path& path, const std::string& what) {
    if (!FolderLock::allowsWriting(path))
        throw Error(what + " \"" + path.string() +
                    "\": the folder it lies in is no longer this session's (renamed or replaced)");
}

} // namespace platform::file_detail
