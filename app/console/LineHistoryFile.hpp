#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace tilmora {

/// The file that keeps a session's line history (".tilmora_history" in a kept user folder), kept
/// as the program keeps its own files: it is looked at with `FileSystem::checkOwnedPath` before
/// anything opens it (a regular file or nothing; a symbolic link is not followed and a pipe or a
/// device is never opened), read only up to 16 MiB, and written whole and atomically (a temporary
/// file, then a rename over it). A file that is not a line history (it does not start with
/// libedit's header line) is never read further nor written over. Logs nothing: the caller says
/// what a problem means. Main thread.
class LineHistoryFile {
public:
    /// The first line of every history file libedit writes.
    static constexpr const char* header = "_HiStOrY_V2_";
    /// The largest history read or written, in bytes (as for scripts and desktop files).
    static constexpr std::size_t maxBytes = 16u * 1024u * 1024u;

    explicit LineHistoryFile(std::filesystem::path path)
        : path_(std::move(path)) {}

    const std::filesystem::path& path() const { return path_; }

    /// The file's contents (empty when nothing is there); none, with `problem` set to what follows
    /// the path in a sentence ("is not a regular file", "does not start with ..."), when the file
    /// cannot be the history.
    std::optional<std::string> read(std::string& problem) const;
    /// Replaces the file with `text`, atomically; false, with `problem` set as `read` sets it, when
    /// the path holds anything `read` refuses or the write fails (the file is then left as it
    /// was).
    bool write(const std::string& text, std::string& problem) const;

private:
    std::filesystem::path path_;
};

} // namespace tilmora
