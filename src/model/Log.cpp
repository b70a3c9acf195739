#include "model/Log.hpp"

#include "platform/dispatch/Lock.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"

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

void writeToStandardOutput(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

// True when `text` is well-formed UTF-8 (no stray continuation bytes, overlong forms, surrogates
// or values past U+10FFFF).
bool isValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t value = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            length = 2;
            value = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3;
            value = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4;
            value = c & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            value = (value << 6) | (next & 0x3F);
        }
        const char32_t minimum = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

void emit(std::string_view text) {
    const auto path = logFilePath();
    if (!path) return;

    std::lock_guard hold(logLock());
    writeToStandardOutput(text);
    if (!isValidUtf8(text)) return;

    if (!platform::FileSystem::fileExists(*path)) {
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
