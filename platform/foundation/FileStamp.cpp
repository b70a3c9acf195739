#include "platform/foundation/FileStamp.hpp"

#include <sys/stat.h>

#include <ctime>

namespace platform {

std::optional<FileStamp> FileStamp::of(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    FileStamp stamp;
    stamp.isDirectory = S_ISDIR(info.st_mode);
    stamp.size = stamp.isDirectory ? 0 : static_cast<std::uintmax_t>(info.st_size);
    stamp.modificationNanoseconds =
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    stamp.device = static_cast<std::uintmax_t>(info.st_dev);
    stamp.inode = static_cast<std::uintmax_t>(info.st_ino);
    // File times come from the host's real-time clock, whatever the platform's clocks say.
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const std::int64_t nowNanoseconds = static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
    stamp.settled = nowNanoseconds - stamp.modificationNanoseconds >= 1'000'000'000;
    return stamp;
}

} // namespace platform
