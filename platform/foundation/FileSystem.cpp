#include "platform/foundation/FileSystem.hpp"

#include "platform/foundation/Error.hpp"
#include "platform/foundation/SharedInstance.hpp"
#include "platform/internal/FileWriting.hpp"
#include "platform/internal/HostKnobs.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace platform::FileSystem {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void fail(const std::string& what, const fs::path& path, int error) {
    throw Error(what + " \"" + path.string() + "\": " + std::strerror(error));
}

[[noreturn]] void fail(const std::string& what, const fs::path& path, const std::error_code& ec) {
    throw Error(what + " \"" + path.string() + "\": " + ec.message());
}

using file_detail::openRegularForWriting;
using file_detail::requireWritable;
using file_detail::writeAll;

} // namespace

/// The paths found not to be regular files during the run (a shared instance, so that
/// `SharedInstances::resetAll` forgets them).
class RefusedPaths {
public:
    std::mutex mutex;
    std::set<fs::path> paths;
};

PathCheck checkOwnedPath(const fs::path& path, bool followLinks, std::optional<std::uintmax_t> maxBytes) {
    PathCheck check;
    auto& refused = SharedInstance<RefusedPaths>::get();
    const auto refuse = [&](bool first) {
        check.kind = PathCheck::Kind::notRegular;
        check.reason = "not a regular file";
        check.firstRefusal = first;
        return check;
    };
    {
        std::lock_guard hold(refused.mutex);
        if (refused.paths.count(path) != 0) return refuse(false);
    }
    struct stat st {};
    const int result = followLinks ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
    if (result != 0) {
        if (errno == ENOENT) return check;
        check.kind = PathCheck::Kind::unknown;
        check.reason = std::strerror(errno);
        return check;
    }
    if (S_ISDIR(st.st_mode)) {
        check.kind = PathCheck::Kind::folder;
        check.reason = "a folder";
        return check;
    }
    if (!S_ISREG(st.st_mode)) {
        std::lock_guard hold(refused.mutex);
        return refuse(refused.paths.insert(path).second);
    }
    check.size = static_cast<std::uintmax_t>(st.st_size);
    if (maxBytes && check.size > *maxBytes) {
        check.kind = PathCheck::Kind::tooLarge;
        check.reason = "larger than " + std::to_string(*maxBytes) + " bytes";
        return check;
    }
    check.kind = PathCheck::Kind::regularFile;
    return check;
}

bool fileExists(const fs::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool isDirectory(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

void createDirectories(const fs::path& path) {
    requireWritable(path, "could not create folder");
    std::error_code ec;
    fs::create_directories(path, ec);
    if (ec) fail("could not create folder", path, ec);
    if (!fs::is_directory(path, ec)) fail("could not create folder", path, ENOTDIR);
}

std::string readFile(const fs::path& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) fail("could not open", path, errno);
    std::string result;
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            int error = errno;
            ::close(fd);
            fail("could not read", path, error);
        }
        if (n == 0) break;
        result.append(buffer.data(), static_cast<std::size_t>(n));
    }
    ::close(fd);
    return result;
}

std::string readRegularFile(const fs::path& path, std::size_t maxBytes, std::uintmax_t from) {
    // Non-blocking, so that opening a pipe with no writer does not wait before it is refused.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) fail("could not read", path, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        fail("could not read", path, error);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        throw Error("could not read \"" + path.string() + "\": not a regular file");
    }
    const auto tooLarge = [&] {
        ::close(fd);
        throw Error("could not read \"" + path.string() + "\": larger than " + std::to_string(maxBytes) +
                    " bytes");
    };
    const auto size = static_cast<std::uintmax_t>(st.st_size);
    if (from >= size) {
        ::close(fd);
        return {};
    }
    if (size - from > maxBytes) tooLarge();
    if (from > 0 && ::lseek(fd, static_cast<off_t>(from), SEEK_SET) < 0) {
        const int error = errno;
        ::close(fd);
        fail("could not read", path, error);
    }
    std::string result;
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            const int error = errno;
            ::close(fd);
            fail("could not read", path, error);
        }
        if (n == 0) break;
        // The file may grow while it is read: the bound holds for what is read, too.
        if (result.size() + static_cast<std::size_t>(n) > maxBytes) tooLarge();
        result.append(buffer.data(), static_cast<std::size_t>(n));
    }
    ::close(fd);
    return result;
}

void writeAtomically(const fs::path& path, std::string_view contents) {
    requireWritable(path, "could not write");
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::string pattern = (folder / ("." + path.filename().string() + ".tmp-XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) fail("could not create a temporary file for", path, errno);
    const std::string temporary(name.data());
    int error = 0;
    if (::fchmod(fd, 0644) != 0) error = errno;
    if (error == 0) error = writeAll(fd, contents);
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        fail("could not write", path, error);
    }
}

void writeFile(const fs::path& path, std::string_view contents) {
    int fd = openRegularForWriting(path, O_CREAT, "could not create");
    int error = ::ftruncate(fd, 0) == 0 ? 0 : errno;
    if (error == 0) error = writeAll(fd, contents);
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) fail("could not write", path, error);
}

void appendToFile(const fs::path& path, std::string_view contents) {
    // A folder opens read-only only, so O_WRONLY already refuses it with EISDIR.
    int fd = openRegularForWriting(path, O_APPEND, "could not open for appending");
    int error = writeAll(fd, contents);
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) fail("could not append to", path, error);
}

namespace {

// Throws the error the simulator set for removing `path`, if any.
void failIfRemovalRefused(const fs::path& path) {
    auto& knobs = desktop_detail::HostKnobs::shared();
    std::lock_guard hold(knobs.mutex);
    auto failing = knobs.removalErrors.find(path);
    if (failing != knobs.removalErrors.end()) throw Error(failing->second);
}

} // namespace

bool isWritable(const fs::path& path) {
    {
        auto& knobs = desktop_detail::HostKnobs::shared();
        std::lock_guard hold(knobs.mutex);
        if (knobs.writeDenied.count(path) != 0) return false;
    }
    return ::access(path.c_str(), W_OK) == 0;
}

bool isFileOrLink(const fs::path& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && (S_ISREG(st.st_mode) || S_ISLNK(st.st_mode));
}

void removeItem(const fs::path& path) {
    failIfRemovalRefused(path);
    requireWritable(path, "could not remove");
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) fail("could not remove", path, errno);
    if (S_ISDIR(st.st_mode)) fail("could not remove", path, EISDIR);
    if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode))
        throw Error("could not remove \"" + path.string() + "\": not a file");
    if (::unlink(path.c_str()) != 0) fail("could not remove", path, errno);
}

void removeFolder(const fs::path& path) {
    failIfRemovalRefused(path);
    requireWritable(path, "could not remove folder");
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) fail("could not remove folder", path, errno);
    if (!S_ISDIR(st.st_mode)) fail("could not remove folder", path, ENOTDIR);
    std::error_code ec;
    fs::remove_all(path, ec);
    if (ec) fail("could not remove folder", path, ec);
}

void moveItem(const fs::path& from, const fs::path& to) {
    requireWritable(from, "could not move");
    requireWritable(to, "could not move " + ("\"" + from.string() + "\" to"));
    if (::rename(from.c_str(), to.c_str()) != 0)
        fail("could not move " + ("\"" + from.string() + "\" to"), to, errno);
}

} // namespace platform::FileSystem
