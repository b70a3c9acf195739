#pragma once

#include "snapshots/StoredObject.hpp"
#include "snapshots/WindowAttributes.hpp"
#include "snapshots/WindowValue.hpp"

#include <cstdint>
#include <memory>

namespace tilmora {

class Snapshot;

/// One saved window of the snapshot store, owned by the view context that made or loaded it
/// (`SnapshotContext::insertWindow`, `Snapshot::windowsSet`). Its attributes are plain fields
/// (`WindowAttributes`); a change is stored by the context's next `save()`. Main thread.
class Window : public StoredObject, public WindowAttributes {
public:
    /// The snapshot the window belongs to; none until `Snapshot::addWindowsObject` links it.
    std::shared_ptr<Snapshot> snapshot() const { return snapshot_.lock(); }

    /// A copy of the attributes and the row id, for other threads.
    WindowValue value() const;

private:
    friend class SnapshotContext;
    friend class Snapshot;

    explicit Window(std::uint64_t context)
        : StoredObject(context) {}

    std::weak_ptr<Snapshot> snapshot_;
    /// What the store holds (meaningful once saved): the attributes and the owning snapshot.
    WindowAttributes saved_;
    std::weak_ptr<Snapshot> savedSnapshot_;
};

} // namespace tilmora
