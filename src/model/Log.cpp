#include "model/Log.hpp"

#include "platform/dispatch/Lock.hpp"
#include "platform/foundation/AppendHandle.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/FolderLock.hpp"
#include "platform/foundation/Folders.hpp"
#include "platform/foundation/SharedInstance.hpp"
#include "platform/foundation/StandardOutput.hpp"
#include "platform/foundation/Utf8Text.hpp"

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

namespace tilmora {

namespace {

// Serializes the writers, so that the lines of concurrent callers never interleave.
platform::Lock& logLock() {
    static platform::Lock lock("log");
    return lock;
}

void writeToStandardOutput(std::string_view text) { platform::StandardOutput::write(text); }

// What the log keeps from one line to the next, under the log's lock: the log file's path, built
// once for each folder layout, the file kept open for appending, and whether the log goes to
// standard output only for now. A shared instance of the program, so a program launched again
// starts with the file closed.
class LogFile {
public:
    static LogFile& shared() { return platform::SharedInstance<LogFile>::get(); }

    // The log file's path in the Documents folder in effect now; none without a Documents folder.
    // Built anew when the folders moved, and on every line while the system's folders apply.
    const std::optional<std::filesystem::path>& path() {
        const auto generation = platform::Folders::generation();
        if (generation == 0 || generation != generation_) {
            path_ = logFilePath();
            generation_ = generation;
        }
        return path_;
    }

    platform::AppendHandle handle;
    // Set while nothing at the log's path can take the lines (a pipe, a device, a link that cannot
    // be replaced), so that this is said once, until a line reaches a file again.
    bool standardOutputOnly = false;

private:
    std::uint64_t generation_ = 0;
    std::optional<std::filesystem::path> path_;
};

// Says once that the lines go to standard output only, because of what is at `path`.
void toStandardOutputOnly(LogFile& log, const std::filesystem::path& path, const std::string& because) {
    if (log.standardOutputOnly) return;
    log.standardOutputOnly = true;
    writeToStandardOutput("Error writing to log file: \"" + path.string() + "\" is " + because +
                          "; the log goes to standard output only\n");
}

// Writes a failure of the file, unless the folder the log lies in is no longer the session's, which
// was said once already (the line then reaches standard output only).
void reportFailure(const char* prefix, const std::filesystem::path& path, const platform::Error& e) {
    if (!platform::FolderLock::allowsWriting(path)) return;
    writeToStandardOutput(std::string(prefix) + e.what() + "\n");
}

// Puts a file of the log's own in the place of the symbolic link at `path` (what it leads to is
// never opened), with `text` as its first line; says once when that cannot be done.
void replaceLink(LogFile& log, const std::filesystem::path& path, std::string_view text) {
    try {
        log.handle.replace(path, text);
        log.standardOutputOnly = false;
        writeToStandardOutput("Log file \"" + path.string() +
                              "\" was a symbolic link: replaced it with a new log file\n");
    } catch (const platform::Error& e) {
        if (!platform::FolderLock::allowsWriting(path)) return;
        toStandardOutputOnly(log, path, std::string("a symbolic link that cannot be replaced (") + e.what() + ")");
    }
}

void emit(std::string_view text) {
    std::lock_guard hold(logLock());
    auto& log = LogFile::shared();
    const auto& path = log.path();
    if (!path) return;

    writeToStandardOutput(text);
    if (!platform::Text::isValidUtf8(text)) return;

    // The file opened for an earlier line takes the text while the path still names it.
    auto& handle = log.handle;
    if (handle.isOpenOn(*path)) {
        try {
            handle.append(text);
        } catch (const platform::Error& e) {
            reportFailure("Error writing to log file: ", *path, e);
        }
        return;
    }
    // Otherwise the path is looked at anew, as for the first line of the run. Nothing is ever
    // opened through a link: a link there (to a file or to nothing) is replaced by a file of the
    // log's own, and a pipe, a device or a socket is never opened.
    handle.close();
    using Kind = platform::AppendHandle::PathKind;
    const Kind kind = platform::AppendHandle::kindAt(*path);
    if (kind == Kind::special) {
        toStandardOutputOnly(log, *path, "not a regular file");
        return;
    }
    if (kind == Kind::link) {
        replaceLink(log, *path, text);
        return;
    }
    if (kind == Kind::nothing) {
        try {
            // A link that appeared since the look above is not followed either.
            if (!handle.create(*path, text)) return replaceLink(log, *path, text);
            log.standardOutputOnly = false;
        } catch (const platform::Error& e) {
            reportFailure("Error creating log file: ", *path, e);
        }
        return;
    }
    try {
        // A folder, or a file the log may not open, fails here, once for every line.
        if (!handle.openAndAppend(*path, text)) return replaceLink(log, *path, text);
        log.standardOutputOnly = false;
    } catch (const platform::Error& e) {
        reportFailure("Error writing to log file: ", *path, e);
    }
}

} // namespace

std::optional<std::filesystem::path> logFilePath() {
    auto documents = platform::Folders::documents();
    if (!documents) return std::nullopt;
    return *documents / logFileName;
}

void print(std::initializer_list<std::string_view> items, std::string_view separator,
           std::string_view terminator) {
    std::string text;
    bool first = true;
    for (std::string_view item : items) {
        if (!first) text += separator;
        text += item;
        first = false;
    }
    text += terminator;
    emit(text);
}

void print(std::string_view text, std::string_view /*separator*/, std::string_view terminator) {
    std::string line(text);
    line += terminator;
    emit(line);
}

} // namespace tilmora
