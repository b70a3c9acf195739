#pragma once

#include "shell/SnapshotManagerService.hpp"
#include "snapshots/Snapshot.hpp"
#include "snapshots/SnapshotContext.hpp"
#include "snapshots/SnapshotSave.hpp"

#include <memory>
#include <string>

namespace tilmora {

/// The snapshot service that the host puts into the environment of the snapshot manager window
/// (under `snapshotManagerKey`, as a `std::shared_ptr<SnapshotManaging>`): the store's view
/// context and the operations on its snapshots. Views that find none fall back to the context
/// they find under `managedObjectContextKey` (a `SnapshotContext*`). Main thread.
class SnapshotManaging : public SnapshotManagerService {
public:
    /// The environment key of the service (value `std::shared_ptr<SnapshotManaging>`).
    static constexpr const char* snapshotManagerKey = "snapshotManager";
    /// The environment key of the store's view context (value `SnapshotContext*`).
    static constexpr const char* managedObjectContextKey = "managedObjectContext";

    ~SnapshotManaging() override = default;

    /// The store's view context.
    virtual SnapshotContext& viewContext() = 0;
    /// Saves the current windows as a snapshot named `name` (as typed) in `viewContext()`; the
    /// completion runs before the call returns.
    virtual void saveSnapshot(const std::string& name, const WindowManager::SnapshotCompletion& completion) = 0;
    /// Restores a snapshot: launches its applications and places their windows. Returns at once;
    /// the restore reports through its own toasts and calls the completion on the main queue.
    virtual void restoreSnapshot(const std::shared_ptr<Snapshot>& snapshot,
                                 const WindowManager::SnapshotCompletion& completion) = 0;
    /// Quits the snapshot's applications (`WindowManager::quitSnapshot`). Returns at once; the
    /// completion runs on the main queue.
    virtual void quitSnapshot(const std::shared_ptr<Snapshot>& snapshot,
                              const WindowManager::SnapshotCompletion& completion) = 0;
};

} // namespace tilmora
