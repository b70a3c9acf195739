#pragma once

#include "snapshots/Snapshot.hpp"
#include "snapshots/SnapshotManaging.hpp"

#include <memory>
#include <string>

namespace tilmora {

/// What a snapshot row does: its texts and its five actions (launch, quit, rename, delete, and
/// the per-snapshot shortcut handlers), over the snapshot service it was given. The view
/// (`SnapshotRow`) only lays them out. Toasts go through `NotificationManager::shared()`;
/// localized texts through `LocalizationManager::shared()` (default table). Main thread.
class SnapshotRowModel {
public:
    explicit SnapshotRowModel(std::shared_ptr<SnapshotManaging> manager);

    /// The name without white space and line breaks at both ends; localized "snapshot.unnamed"
    /// when the snapshot has no name or only blanks.
    static std::string displayName(const Snapshot& snapshot);
    /// The application names of the snapshot's windows that have one, one per window, sorted
    /// ascending and joined with ", "; localized "snapshot.noApps" when there are none.
    static std::string appNames(const Snapshot& snapshot);

    /// Restores the snapshot through the service; the restore reports with its own toasts and the
    /// row ignores its completion.
    void launch(const std::shared_ptr<Snapshot>& snapshot) const;

    /// Quits the snapshot's applications: shows "notification.snapshotTitle" /
    /// "notification.snapshotQuitStart" (999 s, until replaced), runs the run loop 0.01 s so that
    /// it is drawn, and 0.1 s later asks the service to quit. The result toast
    /// ("notification.snapshotQuitSuccess" with the snapshot's name, or
    /// "notification.snapshotQuitFailed" with the quit's message; 3.0 s) comes no earlier than
    /// 1.0 s after the start (media clock); then, when `settings::autoResetSnapshotQuit` is true (absent
    /// counts as true, its registered value), the shell's reset of the snapped windows runs
    /// (`ResetSnappedWindowsHook`), also after a failed quit.
    void quit(const std::shared_ptr<Snapshot>& snapshot) const;

    /// Asks for a new name in a modal alert ("Rename Snapshot", "Enter a new name for the
    /// snapshot '<name or Unnamed>':", buttons "Rename" and "Cancel", a 300 x 24 field holding the
    /// current name) and stores it trimmed. Toasts "Notification" / "Snapshot name cannot be
    /// empty." for a blank name, "Snapshot renamed to '<new>'." once saved, "Failed to rename
    /// snapshot: <store's message>" when the save fails (the new name then stays pending in the
    /// context and is stored by its next save). Any answer but "Rename" changes nothing.
    void rename(const std::shared_ptr<Snapshot>& snapshot) const;

    /// Deletes the snapshot and saves the context. Saved: clears its launch and then its quit
    /// chord and toasts "notification.snapshotTitle" / "notification.snapshotDeleteSuccess" (3.0 s).
    /// A failed save toasts "notification.snapshotDeleteFailed" with the store's message, keeps
    /// both chords and undoes nothing.
    void deleteSnapshot(const std::shared_ptr<Snapshot>& snapshot) const;

    /// Adds the key-down handlers of the snapshot's launch and quit chords, once per snapshot id
    /// for the process (`SnapshotShortcuts::addHandlersOnce`). A handler looks its snapshot up by
    /// id when the chord is pressed and does nothing when it is gone. A snapshot not saved yet has
    /// no id and gets no handlers.
    void addShortcutHandlers(const Snapshot& snapshot) const;
    /// The same for every snapshot given, in one change of the registry's handler table.
    void addShortcutHandlers(const std::vector<std::shared_ptr<Snapshot>>& snapshots) const;

private:
    std::shared_ptr<SnapshotManaging> manager_;
};

} // namespace tilmora
