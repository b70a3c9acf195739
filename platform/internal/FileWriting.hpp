#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform::file_detail {

/// Writes every byte of `contents` to the open descriptor `fd`, retrying short writes and
/// interruptions. Returns 0, or the errno of the failing write. Any thread; logs nothing.
int writeAll(int fd, std::string_view contents);

/// Opens `path` for writing with the extra open `flags` (`O_CREAT`, `O_APPEND`), without waiting on
/// a pipe or a device (`O_NONBLOCK`) and never through a symbolic link (`O_NOFOLLOW`), and returns
/// the descriptor. Throws `platform::Error` "<what> \"<path>\": <reason>" when the open fails,
/// "<what> \"<path>\": not a regular file" when what it opened is not a regular file (closed
/// again then), and the text of `requireWritable` when the path lies in a folder this process no
/// longer holds. A symbolic link at `path` (a dangling one too) is never opened: when `flags` holds
/// `O_NOFOLLOW` the call returns -1 then, so that the caller decides what the link gets; otherwise
/// it throws "<what> \"<path>\": a symbolic link, not followed". Any thread.
int openRegularForWriting(const std::filesystem::path& path, int flags, const std::string& what);

/// Throws `platform::Error` "<what> \"<path>\": the folder it lies in is no longer this session's
/// (renamed or replaced)" when `FolderLock::allowsWriting` refuses `path`. Any thread.
void requireWritable(const std::filesystem::path& path, const std::string& what);

} // namespace platform::file_detail
