#include "platform/foundation/AppendHandle.hpp"

#include "platform/foundation/Error.hpp"
#include "platform/internal/FileWriting.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace fs = std::filesystem;

AppendHandle::~AppendHandle() { close(); }

bool AppendHandle::isOpenOn(const fs::path& path) const {
    if (fd_ < 0 || path.native() != path_.native()) return false;
    // lstat, not stat: the handle never holds a file reached through a link, so a link at the
    // path, even to this very file, is a change the owner must see.
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return false;
    return S_ISREG(st.st_mode) && static_cast<std::uint64_t>(st.st_dev) == device_ &&
           static_cast<std::uint64_t>(st.st_ino) == inode_ && static_cast<std::uint32_t>(st.st_mode) == mode_ &&
           static_cast<std::uint32_t>(st.st_uid) == owner_ && static_cast<std::uint32_t>(st.st_gid) == group_;
}

bool AppendHandle::create(const fs::path& path, std::string_view contents) {
    close();
    fd_ = file_detail::openRegularForWriting(path, O_CREAT | O_APPEND | O_NOFOLLOW, "could not create");
    if (fd_ < 0) return false;
    path_ = path;
    int error = ::ftruncate(fd_, 0) == 0 ? 0 : errno;
    if (error == 0) error = file_detail::writeAll(fd_, contents);
    if (error != 0) {
        close();
        throw Error("could not write \"" + path.string() + "\": " + std::strerror(error));
    }
    remember("could not write");
    return true;
}

AppendHandle::PathKind AppendHandle::kindAt(const fs::path& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT ? PathKind::nothing : PathKind::unknown;
    if (S_ISREG(st.st_mode)) return PathKind::regularFile;
    if (S_ISLNK(st.st_mode)) return PathKind::link;
    if (S_ISDIR(st.st_mode)) return PathKind::folder;
    return PathKind::special;
}

void AppendHandle::replace(const fs::path& path, std::string_view contents) {
    close();
    file_detail::requireWritable(path, "could not create");
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::string name = (folder / ("." + path.filename().string() + ".new-XXXXXX")).string();
    // mkostemp makes the file with O_EXCL: nothing at the fresh name is followed or reused.
    const int fd = ::mkostemp(name.data(), O_APPEND | O_CLOEXEC);
    if (fd < 0) throw Error("could not create \"" + path.string() + "\": " + std::strerror(errno));
    int error = ::fchmod(fd, 0644) == 0 ? 0 : errno;
    if (error == 0) error = file_detail::writeAll(fd, contents);
    if (error == 0 && ::rename(name.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::close(fd);
        ::unlink(name.c_str());
        throw Error("could not create \"" + path.string() + "\": " + std::strerror(error));
    }
    fd_ = fd;
    path_ = path;
    remember("could not create");
}

bool AppendHandle::openAndAppend(const fs::path& path, std::string_view contents) {
    close();
    // A folder opens read-only only, so O_WRONLY already refuses it with EISDIR.
    fd_ = file_detail::openRegularForWriting(path, O_APPEND | O_NOFOLLOW, "could not open for appending");
    if (fd_ < 0) return false;
    path_ = path;
    remember("could not open for appending");
    append(contents);
    return true;
}

void AppendHandle::append(std::string_view contents) {
    const int error = fd_ < 0 ? EBADF : file_detail::writeAll(fd_, contents);
    if (error == 0) return;
    const std::string reason = fd_ < 0 ? "not open" : std::strerror(error);
    close();
    throw Error("could not append to \"" + path_.string() + "\": " + reason);
}

void AppendHandle::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

void AppendHandle::remember(const char* what) {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        const int error = errno;
        close();
        throw Error(std::string(what) + " \"" + path_.string() + "\": " + std::strerror(error));
    }
    device_ = static_cast<std::uint64_t>(st.st_dev);
    inode_ = static_cast<std::uint64_t>(st.st_ino);
    mode_ = static_cast<std::uint32_t>(st.st_mode);
    owner_ = static_cast<std::uint32_t>(st.st_uid);
    group_ = static_cast<std::uint32_t>(st.st_gid);
}

} // namespace platform
