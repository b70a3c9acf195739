#include "model/StoreFile.hpp"

#include "model/Log.hpp"

#include "platform/foundation/Date.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"
#include "platform/foundation/ISO8601DateFormatter.hpp"
#include "platform/foundation/SharedInstance.hpp"
#include "platform/foundation/Uuid.hpp"

#include <mutex>
#include <set>

namespace tilmora::StoreFile {

namespace {

// "20250102T030405Z": the UTC time of `date` in ISO 8601 without its separators, safe in a file
// name.
std::string utcStamp(platform::Date date) {
    std::string text = platform::ISO8601DateFormatter::string(date);
    std::erase_if(text, [](char c) { return c == '-' || c == ':'; });
    return text;
}

} // namespace

/// The paths whose failed read has been logged and that have not read since. A shared instance, so
/// that `SharedInstances::resetAll` forgets them.
class UnreadableStoreFiles {
public:
    std::mutex mutex;
    std::set<std::filesystem::path> reported;
};

std::optional<std::filesystem::path> defaultLocation(std::string_view fileName) {
    auto support = platform::Folders::applicationSupport();
    if (!support) return std::nullopt;
    return *support / "Tilmora" / std::string(fileName);
}

std::optional<std::string> read(const std::filesystem::path& path) {
    try {
        return platform::FileSystem::readRegularFile(path, maxFileBytes);
    } catch (const platform::Error&) {
        return std::nullopt;
    }
}

std::optional<std::string> readExisting(const std::filesystem::path& path, std::string_view tag) {
    auto& unreadable = platform::SharedInstance<UnreadableStoreFiles>::get();
    if (!platform::FileSystem::fileExists(path)) {
        std::lock_guard hold(unreadable.mutex);
        unreadable.reported.erase(path);
        return std::nullopt;
    }
    try {
        std::string data = platform::FileSystem::readRegularFile(path, maxFileBytes);
        std::lock_guard hold(unreadable.mutex);
        unreadable.reported.erase(path);
        return data;
    } catch (const platform::Error& error) {
        bool first = false;
        {
            std::lock_guard hold(unreadable.mutex);
            first = unreadable.reported.insert(path).second;
        }
        if (first && !tag.empty())
            print(std::string(tag) + " Cannot use " + path.string() + ": " + error.what());
        throw;
    }
}

void write(const std::filesystem::path& path, std::string_view contents) {
    platform::FileSystem::createDirectories(path.parent_path());
    platform::FileSystem::writeAtomically(path, contents);
}

std::filesystem::path setAside(const std::filesystem::path& path, std::string_view tag, Aside aside) {
    std::string base = path.string() + "." + std::string(aside.suffix) + "-" + utcStamp(platform::Date::now());
    std::filesystem::path target = base;
    for (int n = 2; platform::FileSystem::fileExists(target); ++n)
        target = base + "-" + std::to_string(n);
    try {
        platform::FileSystem::moveItem(path, target);
    } catch (const platform::Error& error) {
        print(std::string(tag) + " Could not move " + std::string(aside.what) + " " + path.string() +
              " aside; leaving it unchanged: " + error.what());
        throw platform::Error("could not move the " + std::string(aside.what) + " " + path.string() +
                              " aside: " + error.what());
    }
    print(std::string(tag) + " Moved " + std::string(aside.what) + " " + path.string() + " aside to " +
          target.string());
    return target;
}

void replace(const std::filesystem::path& path, std::string_view contents, bool setAsideOld, std::string_view tag,
             Aside aside) {
    platform::FileSystem::createDirectories(path.parent_path());
    if (!setAsideOld || !platform::FileSystem::fileExists(path)) {
        platform::FileSystem::writeAtomically(path, contents);
        return;
    }
    // The new bytes go to disk first, under a name of their own, so that a failed write (a full
    // disk) leaves the old file exactly where it was.
    const std::filesystem::path fresh =
        path.string() + ".saving-" + platform::UUID().uuidString();
    platform::FileSystem::writeAtomically(fresh, contents);
    auto discardFresh = [&] {
        try {
            platform::FileSystem::removeItem(fresh);
        } catch (const platform::Error&) {
        }
    };
    std::filesystem::path keptAt;
    try {
        keptAt = setAside(path, tag, aside);
    } catch (const platform::Error&) {
        discardFresh();
        throw;
    }
    try {
        platform::FileSystem::moveItem(fresh, path);
    } catch (const platform::Error&) {
        discardFresh();
        try {
            platform::FileSystem::moveItem(keptAt, path);
        } catch (const platform::Error& back) {
            print(std::string(tag) + " Could not move " + keptAt.string() + " back to " + path.string() + ": " +
                  back.what());
        }
        throw;
    }
}

} // namespace tilmora::StoreFile
