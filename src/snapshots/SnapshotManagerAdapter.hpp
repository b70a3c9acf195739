#pragma once

#include "snapshots/SnapshotManaging.hpp"

#include <functional>

namespace tilmora {

/// The snapshot service over one view context: saves with `WindowManager::saveSnapshot`, restores
/// with `WindowManager::restoreSnapshot` (or the restore function it was given) and quits with
/// `WindowManager::quitSnapshot`. Main thread.
class SnapshotManagerAdapter : public SnapshotManaging {
public:
    using RestoreFunction = std::function<void(const std::shared_ptr<Snapshot>&, const WindowManager::SnapshotCompletion&)>;

    /// `restore`: the restore to use instead of `WindowManager::restoreSnapshot`.
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
