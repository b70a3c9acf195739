#pragma once

namespace tilmora {

/// The snapshot store's controller as the shell holds it: the snapshot layer above the shell
/// hands the shell a handle to its store, and builds the snapshot manager over it. The shell only
/// keeps it for the life of the program. Main thread.
class SnapshotStoreHandle {
public:
    virtual ~SnapshotStoreHandle() = default;
};

} // namespace tilmora
