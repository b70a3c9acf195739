#pragma once

#include "snapshots/Snapshot.hpp"
#include "snapshots/Window.hpp"

#include "platform/foundation/SQLiteDatabase.hpp"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace tilmora {

/// The view context of the snapshot store: the objects of every stored snapshot and window, and
/// the changes made to them since the last save. New objects, attribute changes, links and
/// deletions stay pending until `save()` writes them all in one transaction; `rollback()` and
/// `discard` drop them.
///
/// Each object stands for one row; a row is loaded once, when the context is made, so the same
/// row is always the same object. Deleting a snapshot deletes its windows with it.
///
/// After each save, rollback, discard and delete the context posts `didChangeNotification` on the
/// default notification center with itself as the object.
///
/// Main thread only: every call checks it (`platform::requireMainThread`). Nothing is logged.
class SnapshotContext {
public:
    static constexpr const char* didChangeNotification = "SnapshotStoreDidChange";

    /// Takes an open store whose tables exist and loads every row. Throws `platform::Error` when
    /// the rows cannot be read. `readOnlyBecause` names the file or folder the user may not write
    /// when the store was opened for reading only (its saves then fail).
    explicit SnapshotContext(platform::SQLiteDatabase database,
                             std::optional<std::filesystem::path> readOnlyBecause = std::nullopt);
    ~SnapshotContext();
    SnapshotContext(const SnapshotContext&) = delete;
    SnapshotContext& operator=(const SnapshotContext&) = delete;

    /// A new snapshot, pending until saved: no name, the current date as its time stamp, scope 0.
    std::shared_ptr<Snapshot> insertSnapshot();
    /// A new window, pending until saved; every attribute empty or 0. It must join a snapshot
    /// (`Snapshot::addWindowsObject`) before the save, or the save fails.
    std::shared_ptr<Window> insertWindow();
    /// A new object of the entity named "Snapshot" or "Window" (`insertSnapshot`,
    /// `insertWindow`); null for any other name. While an insert seam is set, its answer instead.
    std::shared_ptr<StoredObject> insertNewObject(std::string_view entityName);

    /// Test seam: when set, `insertNewObject` answers whatever it returns (null included, or an
    /// object of the other entity made through this context), as a store whose model does not
    /// match its classes would. Empty: back to the plain inserts.
    using InsertSeam = std::function<std::shared_ptr<StoredObject>(SnapshotContext&, std::string_view)>;
    void setInsertSeam(InsertSeam seam) { insertSeam_ = std::move(seam); }

    /// Deletes a snapshot (with its windows) or a window. A saved object stays readable, marked
    /// deleted, until the next save removes its row (or a rollback brings it back); an object not
    /// saved yet is simply dropped. Objects of another context are ignored.
    void deleteObject(const std::shared_ptr<StoredObject>& object);

    /// Writes every pending change in one transaction. On success the new objects get their row
    /// ids and the pending changes are cleared. On failure nothing of it reaches the file, the
    /// changes stay pending, and `platform::Error` (an `SQLiteError`) carries SQLite's message.
    /// Without pending changes it does nothing.
    void save();
    /// Drops every pending change: new objects are forgotten, changed and deleted ones take back
    /// what the store holds.
    void rollback();
    /// Drops the pending changes of the given objects only: a new object is forgotten (a new
    /// snapshot with the new windows it holds), a saved one takes back what the store holds.
    void discard(const std::vector<std::shared_ptr<StoredObject>>& objects);
    /// Whether anything waits for `save()`.
    bool hasChanges() const;
    /// The file or folder the user may not write, when the store was opened for reading only:
    /// its snapshots are listed, but no change can be saved. None for a store that takes changes.
    const std::optional<std::filesystem::path>& readOnlyBecause() const { return readOnlyBecause_; }

    /// The store file a context in memory stands in for, when that file could not be used at
    /// launch: its path (or only its name when there was no folder for it), and whether another
    /// program held its lock past the wait (rather than the file or its folder being unusable).
    struct StandIn {
        std::filesystem::path store;
        bool inUse = false;
    };
    /// Marks this context as standing in for a store file that could not be used.
    void setStandsInFor(StandIn standIn) { standsInFor_ = std::move(standIn); }
    /// None for a context of a store file, or of a store in memory that was asked for.
    const std::optional<StandIn>& standsInFor() const { return standsInFor_; }

    /// Every snapshot, pending inserts included and pending deletions left out: newest time stamp
    /// first (none last), then highest row id first, a snapshot not saved yet counting as newer
    /// than every saved one.
    std::vector<std::shared_ptr<Snapshot>> fetchSnapshots() const;
    /// The snapshot whose id text (`Snapshot::idText`, "p" + row id) is `id`, unless deleted.
    std::shared_ptr<Snapshot> snapshotWithID(std::string_view id) const;

private:
    void load();
    void forget(const std::shared_ptr<Snapshot>& snapshot);
    void forget(const std::shared_ptr<Window>& window);
    void revert(const std::shared_ptr<Snapshot>& snapshot);
    void revert(const std::shared_ptr<Window>& window);
    bool changed(const Snapshot& snapshot) const;
    bool changed(const Window& window) const;
    void postDidChange();

    platform::SQLiteDatabase db_;
    std::optional<std::filesystem::path> readOnlyBecause_;
    std::optional<StandIn> standsInFor_;
    std::uint64_t tag_;
    std::uint64_t nextSequence_ = 0;
    /// Saved, deleted-but-unsaved and new snapshots, in load and insertion order.
    std::vector<std::shared_ptr<Snapshot>> snapshots_;
    /// Likewise for windows; new windows are written in this order.
    std::vector<std::shared_ptr<Window>> windows_;
    InsertSeam insertSeam_;
};

} // namespace tilmora
