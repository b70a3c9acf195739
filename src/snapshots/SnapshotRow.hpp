#pragma once

#include "snapshots/Snapshot.hpp"
#include "snapshots/SnapshotManaging.hpp"

#include "platform/ui/declarative/Elements.hpp"

#include <memory>

namespace tilmora {

/// One entry of the snapshot manager's list: a card 900 points wide with the snapshot's name
/// (its application names as the tooltip), a launch button and recorder, a quit button and
/// recorder, rename and delete (`SnapshotRowModel` does the work). The snapshot service comes from
/// the environment (`SnapshotManaging::snapshotManagerKey`), else a `SnapshotManagerAdapter` over
/// the environment's context (`SnapshotManaging::managedObjectContextKey`); with neither the
/// actions do nothing. When the card appears it adds the snapshot's shortcut handlers (once per
/// snapshot for the process). It redraws after every change of the store ("SnapshotStoreDidChange")
/// and looks its texts up again after "AppLanguageDidChange". Light and
/// dark appearance come from the environment's colour scheme. Main thread.
///
/// Element ids (the snapshot's id text, "p" + row id, as `<id>`): "snapshot.name.<id>",
/// "snapshot.launch.<id>", "snapshot.quit.<id>", "snapshot.rename.<id>", "snapshot.delete.<id>",
/// "snapshot.card.<id>".
class SnapshotRow : public platform::ui::declarative::Component<SnapshotRow> {
public:
    explicit SnapshotRow(std::shared_ptr<Snapshot> snapshot)
        : snapshot(std::move(snapshot)) {}

    platform::ui::declarative::Element body() override;

    /// The service the row works through now (see above); null when there is none.
    std::shared_ptr<SnapshotManaging> manager() const;

    std::shared_ptr<Snapshot> snapshot;

private:
    platform::ui::declarative::State<int> localizationVersion_{this, 0};
};

} // namespace tilmora
