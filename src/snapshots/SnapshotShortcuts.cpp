#include "snapshots/SnapshotShortcuts.hpp"

#include "shortcuts/Registry.hpp"

namespace tilmora {

KeyboardShortcuts::Name SnapshotShortcuts::launchName(const std::string& snapshotID) {
    return KeyboardShortcuts::Name("launch-" + snapshotID);
}

KeyboardShortcuts::Name SnapshotShortcuts::quitName(const std::string& snapshotID) {
    return KeyboardShortcuts::Name("quit-" + snapshotID);
}

bool SnapshotShortcuts::addHandlersOnce(const std::string& snapshotID, std::function<void()> onLaunch,
                                        std::function<void()> onQuit) {
    if (!ids_.insert(snapshotID).second) return false;
    KeyboardShortcuts::onKeyDown(launchName(snapshotID), std::move(onLaunch));
    KeyboardShortcuts::onKeyDown(quitName(snapshotID), std::move(onQuit));
    return true;
}

} // namespace tilmora
