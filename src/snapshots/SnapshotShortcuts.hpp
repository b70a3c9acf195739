#pragma once

#include "shortcuts/Name.hpp"

#include "platform/foundation/SharedInstance.hpp"

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace tilmora {

/// The two global shortcuts of each saved snapshot: their names ("launch-" and "quit-" + the
/// snapshot's id text, "p" + its row id; no default chord, so a recorded chord is stored under
/// "GlobalShortcuts_launch-pN" and "GlobalShortcuts_quit-pN") and the once-per-process
/// registration of their key-down handlers. Reset with the other shared instances (together with
/// the shortcut registry that holds the handlers). Main thread.
class SnapshotShortcuts {
public:
    static SnapshotShortcuts& shared() { return platform::SharedInstance<SnapshotShortcuts>::get(); }

    static GlobalShortcuts::Name launchName(const std::string& snapshotID);
    static GlobalShortcuts::Name quitName(const std::string& snapshotID);

    /// Adds the key-down handlers of the snapshot's launch and quit names, unless this process has
    /// added them for `snapshotID` before: the registry keeps every handler it is given, so a row
    /// shown again must not add them a second time. True when they were added now.
    bool addHandlersOnce(const std::string& snapshotID, std::function<void()> onLaunch, std::function<void()> onQuit);

    /// The handlers of one snapshot, for adding many at once.
    struct Handlers {
        std::string snapshotID;
        std::function<void()> onLaunch;
        std::function<void()> onQuit;
    };
    /// `addHandlersOnce` of each entry, in one change of the registry's handler table. Returns how
    /// many snapshots got their handlers now.
    std::size_t addHandlersOnce(std::vector<Handlers> snapshots);
    bool hasHandlers(const std::string& snapshotID) const { return ids_.contains(snapshotID); }

private:
    friend class platform::SharedInstance<SnapshotShortcuts>;
    SnapshotShortcuts() = default;
    std::set<std::string> ids_;
};

} // namespace tilmora
