#pragma once

#include <cstdint>
#include <optional>

namespace tilmora {

class SnapshotContext;

/// What the two stored kinds (`Snapshot`, `Window`) share: their row in the store and their state
/// in the view context that made them. Main thread, like the context.
class StoredObject {
public:
    virtual ~StoredObject() = default;

    /// The row id in the store; none until the object's first successful save.
    std::optional<std::int64_t> rowID() const { return rowID_; }
    /// Inserted and not saved yet.
    bool isInserted() const { return !rowID_ && !forgotten_; }
    /// Deleted, and the deletion not saved yet.
    bool isDeleted() const { return deleted_; }

protected:
    explicit StoredObject(std::uint64_t context)
        : context_(context) {}

private:
    friend class SnapshotContext;
    friend class Snapshot;

    std::uint64_t context_;
    std::optional<std::int64_t> rowID_;
    bool deleted_ = false;
    /// Dropped from its context (a discarded or deleted insert, or a deletion that was saved).
    bool forgotten_ = false;
};

} // namespace tilmora
