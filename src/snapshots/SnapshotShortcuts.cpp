#include "snapshots/SnapshotShortcuts.hpp"

#include "shortcuts/Registry.hpp"

namespace tilmora {

GlobalShortcuts::Name SnapshotShortcuts::launchName(const std::string& snapshotID) {
    return GlobalShortcuts::Name("launch-" + snapshotID);
}

GlobalShortcuts::Name SnapshotShortcuts::quitName(const std::string& snapshotID) {
    return GlobalShortcuts::Name("quit-" + snapshotID);
}

bool SnapshotShortcuts::addHandlersOnce(const std::string& snapshotID, std::function<void()> onLaunch,
                                        std::function<void()> onQuit) {
    if (!ids_.insert(snapshotID).second) return false;
    GlobalShortcuts::onKeyDown(launchName(snapshotID), std::move(onLaunch));
    GlobalShortcuts::onKeyDown(quitName(snapshotID), std::move(onQuit));
    return true;
}

} // namespace tilmora
