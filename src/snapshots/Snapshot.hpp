#pragma once

#include "snapshots/SnapshotAttributes.hpp"
#include "snapshots/SnapshotValue.hpp"
#include "snapshots/StoredObject.hpp"
#include "snapshots/Window.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tilmora {

/// One saved snapshot of the snapshot store, owned by the view context that made or loaded it
/// (`SnapshotContext::insertSnapshot`, `SnapshotContext::fetchSnapshots`). Its attributes are
/// plain fields (`SnapshotAttributes`); a change (a rename) is stored by the context's next
/// `save()`. Main thread.
class Snapshot : public StoredObject,
                 public SnapshotAttributes,
                 public std::enable_shared_from_this<Snapshot> {
public:
    /// Which windows a snapshot holds: those of the Space that was current when saving, or those
    /// of every Space.
    enum class Scope : std::int16_t { currentSpace = 0, allSpaces = 1 };

    /// The scope of a raw value; none for anything but 0 and 1.
    static std::optional<Scope> scopeFromRawValue(std::int16_t rawValue);

    /// The saved windows, ordered by row id; windows not saved yet follow in the order they were
    /// added. Deleted windows are left out.
    std::vector<std::shared_ptr<Window>> windowsSet() const;

    /// Adds `window` to this snapshot, taking it from the snapshot it belonged to. Throws
    /// `platform::Error` when the window comes from another context or was dropped from its own.
    void addWindowsObject(const std::shared_ptr<Window>& window);

    /// "p" + the row id once saved; none before.
    std::optional<std::string> idText() const;

    /// A copy of the snapshot and its windows (`windowsSet` order), for other threads.
    SnapshotValue value() const;

private:
    friend class SnapshotContext;

    Snapshot(std::uint64_t context, std::uint64_t sequence)
        : StoredObject(context)
        , sequence_(sequence) {}

    void removeWindow(const Window* window);

    /// Order of insertion into the context (orders snapshots that have no row id yet).
    std::uint64_t sequence_;
    std::vector<std::shared_ptr<Window>> windows_;
    /// What the store holds (meaningful once saved).
    SnapshotAttributes saved_;
    std::vector<std::shared_ptr<Window>> savedWindows_;
};

} // namespace tilmora
