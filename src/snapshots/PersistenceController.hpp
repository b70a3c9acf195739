#pragma once

#include "snapshots/SnapshotContext.hpp"

#include "platform/foundation/SharedInstance.hpp"

#include <filesystem>
#include <memory>
#include <optional>

namespace tilmora {

/// The snapshot store: one SQLite database of snapshots and their windows, reached through its
/// one view context. On disk it is "<Application Support>/<bundle id>/SnapShot.sqlite" (the
/// program's bundle identifier, else "com.quorvane.Tilmora").
///
/// The file keeps a rollback journal (journal mode DELETE, synchronous FULL): a crash in the middle
/// of a save leaves the previous state. Foreign keys are on, so a snapshot's window rows go with
/// it. "PRAGMA user_version" holds the schema version; opening runs the migration steps from the
/// file's version to the current one in one transaction (an empty file is migrated from 0).
/// Snapshot ids are never reused: the snapshot table counts ids upward, and a store starts above
/// the highest N of the stored per-snapshot shortcuts "GlobalShortcuts_launch-pN" and
/// "GlobalShortcuts_quit-pN".
///
/// Opening never drops or writes over stored data:
/// - A file that is not a database, fails "PRAGMA quick_check" or has a newer schema version
///   prints "Unresolved error <reason>, <details>", is renamed (with its "-journal") to
///   "SnapShot.sqlite.corrupt-<yyyyMMdd'T'HHmmss'Z' in UTC>" ("-2", "-3", ... when taken), prints
///   "Snapshot store could not be opened (<reason>); kept it as <new name> and started an empty
///   store", and a fresh store is made in its place.
/// - A valid database that holds none of the store's tables (another program's file) prints
///   "Unresolved error <reason>, <details>" and stays byte for byte as it is; the snapshots then
///   live in memory, as below.
/// - A store file the user may not write, or whose folder they may not write, is opened for
///   reading only (`SnapshotContext::readOnlyBecause`): its snapshots are listed, nothing can be
///   saved, and "Snapshot store <path> is read-only (no permission to write <file or folder>); its
///   snapshots are listed, new snapshots cannot be stored" is printed. One that does not hold the
///   current schema cannot be read that way and falls back to memory.
/// - A folder that cannot be created prints "Failed to create Application Support directory:
///   <reason>"; a store that still does not open prints "Unresolved error <reason>, <details>".
///   Either way the snapshots live in memory until the program quits (no file is made) and one
///   toast "Snapshot" / "Snapshots are kept only until Tilmora quits." shows for 3 s; the context
///   says which file it stands in for and whether another program held it
///   (`SnapshotContext::standsInFor`), for the snapshot manager's line.
/// - A store whose lock another connection holds (another program, a backup) is waited for,
///   `busyTimeoutSeconds` at opening and at each write (`SQLiteDatabase::setBusyTimeout`); a lock
///   held longer is "in use": the snapshots live in memory as above, and a file that appeared
///   only now, held by its maker, is never removed.
///
/// Main thread.
class PersistenceController {
public:
    static constexpr int schemaVersion = 1;
    static constexpr const char* storeFileName = "SnapShot.sqlite";
    static constexpr const char* fallbackBundleIdentifier = "com.quorvane.Tilmora";
    /// How long opening the store and each write wait for a lock another connection holds (another
    /// session, a backup, the sqlite3 tool) before they fail, in seconds.
    static constexpr double busyTimeoutSeconds = 5.0;

    /// The one store on disk, opened on first use (`SharedInstances::resetAll` closes it).
    static PersistenceController& shared() { return platform::SharedInstance<PersistenceController>::get(); }

    /// Opens the store on disk, or a fresh store in memory (no file) when `inMemory` is true.
    explicit PersistenceController(bool inMemory);
    ~PersistenceController();
    PersistenceController(const PersistenceController&) = delete;
    PersistenceController& operator=(const PersistenceController&) = delete;

    SnapshotContext& viewContext() { return *context_; }

    /// The store file; none when the store lives in memory (asked for, or fallen back to).
    const std::optional<std::filesystem::path>& storeURL() const { return storeURL_; }
    bool isInMemory() const { return !storeURL_.has_value(); }

    /// Where the store file belongs: the bundle's folder in Application Support and the file name;
    /// none when there is no Application Support folder. Creates nothing.
    static std::optional<std::filesystem::path> defaultStoreURL();

private:
    friend class platform::SharedInstance<PersistenceController>;
    PersistenceController()
        : PersistenceController(false) {}

    void openOnDisk();
    void openReadOnly(const std::filesystem::path& url, const std::filesystem::path& unwritable);
    void openInMemoryFallback(SnapshotContext::StandIn standIn);

    std::unique_ptr<SnapshotContext> context_;
    std::optional<std::filesystem::path> storeURL_;
};

} // namespace tilmora
