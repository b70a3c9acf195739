#include "model/Log.hpp"

#include "platform/dispatch/Lock.hpp"
#include "platform/foundation/AppendHandle.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/FileSystem.hpp"
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
// once for each folder layout, and the file kept open for appending. A shared instance of the
// program, so a program launched again starts with the file closed.
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

private:
    std::uint64_t generation_ = 0;
    std::optional<std::filesystem::path> path_;
};

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
            writeToStandardOutput(std::string("Error writing to log file: ") + e.what() + "\n");
        }
        return;
    }
    // Otherwise the path is looked at anew, as for the first line of the run.
    handle.close();

    // Anything but a regular file at the log's path (a pipe, a device, a folder) is never opened:
    // the log then goes to standard output only for the rest of the run, said once.
    const auto check = platform::FileSystem::checkOwnedPath(*path);
    if (check.kind == platform::FileSystem::PathCheck::Kind::notRegular) {
        if (check.firstRefusal)
            writeToStandardOutput("Error writing to log file: \"" + path->string() + "\" is " + check.reason +
                                  "; the log goes to standard output only\n");
        return;
    }
    if (check.kind == platform::FileSystem::PathCheck::Kind::nothing) {
        try {
            // A dangling link there is followed as by any plain write, opened for this line only.
            if (!handle.create(*path, text)) platform::FileSystem::writeFile(*path, text);
        } catch (const platform::Error& e) {
            writeToStandardOutput(std::string("Error creating log file: ") + e.what() + "\n");
        }
        return;
    }
    try {
        // The handle never opens through a link: a link to a file gets the line through a plain
        // append that opens and closes it, and the next line looks at the path anew.
        if (!handle.openAndAppend(*path, text)) platform::FileSystem::appendToFile(*path, text);
    } catch (const platform::Error& e) {
        writeToStandardOutput(std::string("Error writing to log file: ") + e.what() + "\n");
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
