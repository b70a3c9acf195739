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

std::size_t SnapshotShortcuts::addHandlersOnce(std::vector<Handlers> snapshots) {
    std::vector<std::pair<GlobalShortcuts::Name, GlobalShortcuts::Action>> handlers;
    for (auto& snapshot : snapshots) {
        if (!ids_.insert(snapshot.snapshotID).second) continue;
        handlers.emplace_back(launchName(snapshot.snapshotID), std::move(snapshot.onLaunch));
        handlers.emplace_back(quitName(snapshot.snapshotID), std::move(snapshot.onQuit));
    }
    const std::size_t added = handlers.size() / 2;
    GlobalShortcuts::onKeyDown(std::move(handlers));
    return added;
}

} // namespace tilmora
