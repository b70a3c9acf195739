#include "snapshots/SnapshotManagerAdapter.hpp"

#include "snapshots/SnapshotQuit.hpp"
#include "snapshots/SnapshotRestore.hpp"

namespace tilmora {

SnapshotManagerAdapter::SnapshotManagerAdapter(SnapshotContext& viewContext, RestoreFunction restore)
    : viewContext_(viewContext)
    , restore_(std::move(restore)) {}

void SnapshotManagerAdapter::saveSnapshot(const std::string& name,
                                          const WindowManager::SnapshotCompletion& completion) {
    WindowManager::saveSnapshot(name, viewContext_, completion);
}

void SnapshotManagerAdapter::restoreSnapshot(const std::shared_ptr<Snapshot>& snapshot,
                                             const WindowManager::SnapshotCompletion& completion) {
    if (!snapshot) return;
    if (restore_) {
        restore_(snapshot, completion);
        return;
    }
    WindowManager::restoreSnapshot(*snapshot, viewContext_, completion);
}

void SnapshotManagerAdapter::quitSnapshot(const std::shared_ptr<Snapshot>& snapshot,
                                          const WindowManager::SnapshotCompletion& completion) {
    if (!snapshot) return;
    WindowManager::quitSnapshot(*snapshot, completion);
}

} // namespace tilmora
