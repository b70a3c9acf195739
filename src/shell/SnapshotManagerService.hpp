#pragma once

namespace tilmora {

/// The snapshot manager as the shell holds it: the snapshot layer above the shell derives its
/// service from this and the shell only keeps it and hands it to the windows it builds. A view of
/// the snapshot layer takes its own interface back with a checked cast. Main thread.
class SnapshotManagerService {
public:
    virtual ~SnapshotManagerService() = default;
};

} // namespace tilmora
