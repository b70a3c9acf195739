#pragma once

#include "model/SnapArea.hpp"

#include "platform/foundation/Uuid.hpp"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tilmora {

/// Holds the snap areas of the file "SnapAreas.json" in the folder "Tilmora" under Application
/// Support, migrates old files once, saves them and announces each save with the notification
/// "SnapAreasStoreDidChange". Main thread.
class SnapAreasStore {
public:
    /// The one store, created on first use: reads the file (a missing file gives no areas; one that
    /// cannot be read or decoded gives none too, logged to the system log and left as it is until
    /// the next save, which keeps its bytes aside; see `save`), then runs the one-time scope
    /// migration.
    static SnapAreasStore& shared();

    /// The first area with that id, or none.
    std::optional<SnapArea> area(const platform::UUID& id) const;

    /// Writes `areas` to the file atomically and posts "SnapAreasStoreDidChange" (no object) on the
    /// calling thread. When the file read at start could not be used, its bytes are first kept as
    /// "SnapAreas.json.corrupt-<UTC time>" (logged through `print`), set aside only once the new
    /// file is written (`StoreFile::replace`). A failure is written to the system log as
    /// "[SnapAreasStore] Failed to save: " and the reason, the file keeps its old bytes, and nothing
    /// is posted. Returns whether the file was written.
    bool save();

    /// The areas, in file order.
    std::vector<SnapArea> areas;

    const std::string notificationName = "SnapAreasStoreDidChange";
    const std::string scopeMigrationKey = "SnapAreasScopeMigrated.v2";

    SnapAreasStore();

private:
    /// The file; creates the folder "Tilmora" on the way (errors ignored). None without an
    /// Application Support folder.
    std::optional<std::filesystem::path> storeURL() const;

    /// Once per user: areas that apply to all displays but name a display number or a pixel width
    /// become per-display. Sets "SnapAreasScopeMigrated.v2" when done, but when it changed areas
    /// only once they have been saved, so a failed save is retried at the next start.
    void migrateLegacyScopesIfNeeded();

    /// True while the file holds bytes that could not be read or decoded and no save has yet kept
    /// them aside.
    bool unusableFile_ = false;
};

} // namespace tilmora
