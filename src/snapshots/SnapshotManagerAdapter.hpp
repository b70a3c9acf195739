#pragma once

#include "snapshots/SnapshotManaging.hpp"

#include <functional>

namespace tilmora {

/// The snapshot service over one view context: saves with `WindowManager::saveSnapshot` and quits
/// with `WindowManager::quitSnapshot`; restores with the restore function it was given. Main
/// thread.
class SnapshotManagerAdapter : public SnapshotManaging {
public:
    using RestoreFunction = std::function<void(const std::shared_ptr<Snapshot>&, const WindowManager::SnapshotCompletion&)>;

    /// `restore`: the restore entry; without one a restore logs "[RESTORE] No restore available
    /// for snapshot '<name>'" and completes with (false, "No restore available.\n").
    explicit SnapshotManagerAdapter(SnapshotContext& viewContext, RestoreFunction restore = {});

    SnapshotContext& viewContext() override { return viewContext_; }
    void saveSnapshot(const std::string& name, const WindowManager::SnapshotCompletion& completion) override;
    void restoreSnapshot(const std::shared_ptr<Snapshot>& snapshot,
                         const WindowManager::SnapshotCompletion& completion) override;
    void quitSnapshot(const std::shared_ptr<Snapshot>& snapshot,
                      const WindowManager::SnapshotCompletion& completion) override;

private:
    SnapshotContext& viewContext_;
    RestoreFunction restore_;
};

} // namespace tilmora
