#include "model/Log.hpp"

#include "platform/dispatch/Lock.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"
#include "platform/foundation/StandardOutput.hpp"
#include "platform/foundation/Utf8Text.hpp"

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

void emit(std::string_view text) {
    const auto path = logFilePath();
    if (!path) return;

    std::lock_guard hold(logLock());
    writeToStandardOutput(text);
    if (!platform::Text::isValidUtf8(text)) return;

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
            platform::FileSystem::writeFile(*path, text);
        } catch (const platform::Error& e) {
            writeToStandardOutput(std::string("Error creating log file: ") + e.what() + "\n");
        }
        return;
    }
    try {
        platform::FileSystem::appendToFile(*path, text);
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
