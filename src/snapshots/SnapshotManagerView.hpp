#pragma once

#include "snapshots/SnapshotContext.hpp"
#include "snapshots/SnapshotManaging.hpp"

#include "platform/ui/declarative/Elements.hpp"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace tilmora {

/// The content of the snapshot manager window (1000 x 600 points): a name field
/// ("snapshot.enterName") with a save button ("snapshot.saveButton") above a plain list of every
/// snapshot of the store, newest first, one `SnapshotRow` each with a 900 x 1 separator line under
/// every row but the last.
///
/// The host sets the store's view context (`SnapshotManaging::managedObjectContextKey`, a
/// `SnapshotContext*`) and the snapshot service (`SnapshotManaging::snapshotManagerKey`) in the
/// environment; without a context the view uses the service's. The list follows the context
/// ("SnapshotStoreDidChange"): the view keeps the fetched list and fetches it again only after a
/// change of the store, so typing in the name field costs what the rows in view cost. The list
/// makes the rows in view only (`List(count, makeRow)`), each kept by its snapshot's id, so a
/// save, rename or delete remakes no other row; when the list is first shown it adds the shortcut
/// handlers of every snapshot listed (and of every snapshot listed later), once per snapshot.
/// 0.1 s after each successful save and each list deletion the view is drawn again. Texts are
/// looked up again after "AppLanguageDidChange".
///
/// Save: enabled while the name, without spaces and tabs at both ends, is not empty and the store
/// takes changes (a store opened read-only shows "snapshot.readOnlyStore" with the file or folder
/// the user may not write, under the name field, and keeps the button off; a store in memory that
/// stands in for a store file unusable at launch shows in that place "snapshot.storeInUse", or
/// "snapshot.storeUnusable", with the file, and saves into memory); saves the
/// name as typed through the service (else `WindowManager::saveSnapshot` on the context); logs
/// "Snapshot '<name>' saved successfully." and clears the field on success, logs "Failed to save
/// snapshot: " + the save's message and keeps the name on failure. The save shows its own toasts.
///
/// List delete: deletes the rows' snapshots and saves once; their stored chords stay. When the save
/// fails, exactly those deletions are undone (other pending changes of those snapshots, such as a
/// name not saved yet, stay pending), the failure is logged "Failed to delete snapshots: <store's
/// message>" and toasted "notification.snapshotTitle" / "notification.snapshotDeleteFailed" (3 s).
///
/// Element ids: "snapshot.nameField", "snapshot.save", "snapshot.readOnlyNotice",
/// "snapshot.storeNotice", "snapshot.list",
/// and per row "snapshot.separator.<id>" besides the row's own. Main thread.
class SnapshotManagerView : public platform::ui::declarative::Component<SnapshotManagerView> {
public:
    platform::ui::declarative::Element body() override;

private:
    SnapshotContext* context() const;
    std::shared_ptr<SnapshotManaging> manager() const;
    void saveSnapshot();
    void handleSaveResult(bool success, const std::string& message);
    void deleteSnapshots(const std::vector<std::size_t>& offsets);
    void refreshLater();
    static std::string newRefreshID();

    /// The fetched list, kept between builds until the store changes.
    struct Listing {
        SnapshotContext* context = nullptr;
        bool stale = true;
        bool shown = false;
        std::shared_ptr<const std::vector<std::shared_ptr<Snapshot>>> snapshots =
            std::make_shared<const std::vector<std::shared_ptr<Snapshot>>>();
    };
    /// The listing, fetched again when the store changed (or the context is another).
    std::shared_ptr<const std::vector<std::shared_ptr<Snapshot>>> currentSnapshots();

    platform::ui::declarative::State<std::string> newSnapshotName_{this, ""};
    platform::ui::declarative::State<std::string> refreshID_{this, newRefreshID()};
    platform::ui::declarative::State<int> localizationVersion_{this, 0};
    platform::ui::declarative::State<std::shared_ptr<Listing>> listing_{this, std::make_shared<Listing>()};
};

} // namespace tilmora
