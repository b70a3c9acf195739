#include "model/SnapAreasStore.hpp"

#include "model/StoreFile.hpp"

#include "platform/foundation/Error.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/SharedInstance.hpp"
#include "platform/foundation/SystemLog.hpp"
#include "platform/foundation/UserDefaults.hpp"

namespace tilmora {

SnapAreasStore& SnapAreasStore::shared() {
    return platform::SharedInstance<SnapAreasStore>::get();
}

SnapAreasStore::SnapAreasStore() {
    if (auto url = storeURL()) {
        auto read = StoreFile::readArrayLenient<SnapArea>(*url);
        areas = std::move(read.elements);
        if (read.unusable) {
            // The file stays as it is until the next save, which keeps its bytes aside.
            unusableFile_ = true;
            platform::systemLog("[SnapAreasStore] Could not read " + url->string() + "; starting with no snap areas: " +
                                read.decodingError.value_or("the file cannot be read"));
        }
    }
    migrateLegacyScopesIfNeeded();
}

std::optional<std::filesystem::path> SnapAreasStore::storeURL() const {
    auto support = platform::Folders::applicationSupport();
    if (!support) return std::nullopt;
    std::filesystem::path folder = *support / "Tilmora";
    try {
        platform::FileSystem::createDirectories(folder);
    } catch (const platform::Error&) {
        // The read or write that follows fails on its own.
    }
    return folder / "SnapAreas.json";
}

std::optional<SnapArea> SnapAreasStore::area(const platform::UUID& id) const {
    for (const SnapArea& area : areas) {
        if (area.id == id) return area;
    }
    return std::nullopt;
}

bool SnapAreasStore::save() {
    try {
        auto url = storeURL();
        if (!url) throw platform::Error("no Application Support folder");
        StoreFile::writeArray(*url, areas, unusableFile_, "[SnapAreasStore]");
        unusableFile_ = false;
    } catch (const platform::Error& error) {
        platform::systemLog(std::string("[SnapAreasStore] Failed to save: ") + error.what());
        return false;
    }
    platform::NotificationCenter::defaultCenter().post(notificationName);
    return true;
}

void SnapAreasStore::migrateLegacyScopesIfNeeded() {
    auto& defaults = platform::UserDefaults::standard();
    if (defaults.boolForKey(scopeMigrationKey)) return;
    bool changed = false;
    for (SnapArea& area : areas) {
        if (area.appliesToAllDisplays && (area.displayID || area.resolutionWidth)) {
            area.appliesToAllDisplays = false;
            changed = true;
        }
    }
    if (changed) {
        platform::systemLog("[SnapAreasStore] Migrated legacy snap areas to per-display scope");
        if (!save()) return;
    }
    defaults.set(true, scopeMigrationKey);
}

} // namespace tilmora
