#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform::file_detail {

/// Writes every byte of `contents` to the open descriptor `fd`, retrying short writes and
/// interruptions. Returns 0, or the errno of the failing write. Any thread; logs nothing.
int writeAll(int fd, std::string_view contents);

/// Opens `path` for writing with the extra open `flags` (`O_CREAT`, `O_APPEND`), without waiting on
/// a pipe or a device (`O_NONBLOCK`), and returns the descriptor. Throws `platform::Error`
/// "<what> \"<path>\": <reason>" when the open fails, and "<what> \"<path>\": not a regular file"
/// when what it opened is not a regular file (closed again then). Links are followed, unless
/// `flags` holds `O_NOFOLLOW`: a symbolic link at `path` (a dangling one too) is then not opened
/// and the call returns -1 instead of throwing. Any thread.
int openRegularForWriting(const std::filesystem::path& path, int flags, const std::string& what);

} // namespace platform::file_detail
