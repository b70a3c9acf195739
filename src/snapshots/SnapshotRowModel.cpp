#include "snapshots/SnapshotRowModel.hpp"

#include "snapshots/ResetSnappedWindowsHook.hpp"
#include "snapshots/SnapshotShortcuts.hpp"

#include "model/LocalizationManager.hpp"
#include "model/NotificationManager.hpp"
#include "model/Settings.hpp"
#include "shortcuts/Registry.hpp"

#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/DispatchTime.hpp"
#include "platform/dispatch/MediaTime.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/foundation/Utf8Text.hpp"
#include "platform/ui/Alert.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/TextField.hpp"

#include <algorithm>
#include <vector>

namespace tilmora {

namespace {

std::string localizedFormat(std::string_view key, const std::string& argument) {
    return platform::Text::format(localized(key), {argument});
}

void toast(const std::string& title, const std::string& message) {
    NotificationManager::shared().show(title, message, 3.0);
}

/// `settings::autoResetSnapshotQuit`: a Boolean; absent or of another type it reads as its registered
/// value, true.
bool autoResetAfterQuit() {
    return settings::read(settings::autoResetSnapshotQuit);
}

} // namespace

SnapshotRowModel::SnapshotRowModel(std::shared_ptr<SnapshotManaging> manager)
    : manager_(std::move(manager)) {}

std::string SnapshotRowModel::displayName(const Snapshot& snapshot) {
    const std::string trimmed = platform::Text::trimmingWhitespaceAndNewlines(snapshot.name.value_or(""));
    return trimmed.empty() ? localized("snapshot.unnamed") : trimmed;
}

std::string SnapshotRowModel::appNames(const Snapshot& snapshot) {
    std::vector<std::string> names;
    for (const auto& window : snapshot.windowsSet())
        if (window->appName) names.push_back(*window->appName);
    if (names.empty()) return localized("snapshot.noApps");
    std::sort(names.begin(), names.end());
    std::string joined;
    for (const auto& name : names)
        joined += (joined.empty() ? "" : ", ") + name;
    return joined;
}

void SnapshotRowModel::launch(const std::shared_ptr<Snapshot>& snapshot) const {
    if (!snapshot || !manager_) return;
    manager_->restoreSnapshot(snapshot, [](bool, const std::string&) {});
}

void SnapshotRowModel::quit(const std::shared_ptr<Snapshot>& snapshot) const {
    if (!snapshot || !manager_) return;
    const std::string name = displayName(*snapshot);
    const std::string title = localized("notification.snapshotTitle");
    NotificationManager::shared().show(title, localizedFormat("notification.snapshotQuitStart", name), 999);
    platform::RunLoop::current().runUntilMediaTime(platform::mediaTime() + 0.01);
    const double start = platform::mediaTime();
    auto manager = manager_;
    platform::DispatchQueue::main().asyncAfter(platform::DispatchTime::now() + 0.1, [manager, snapshot, name, title,
                                                                                    start] {
        manager->quitSnapshot(snapshot, [name, title, start](bool success, const std::string& message) {
            const std::string text = success ? localizedFormat("notification.snapshotQuitSuccess", name)
                                             : localizedFormat("notification.snapshotQuitFailed", message);
            const double elapsed = platform::mediaTime() - start;
            platform::DispatchQueue::main().asyncAfter(
                platform::DispatchTime::now() + std::max(0.0, 1.0 - elapsed), [title, text] {
                    NotificationManager::shared().show(title, text, 3.0);
                    if (autoResetAfterQuit()) ResetSnappedWindowsHook::run();
                });
        });
    });
}

void SnapshotRowModel::rename(const std::shared_ptr<Snapshot>& snapshot) const {
    if (!snapshot || !manager_) return;
    const std::string current = snapshot->name.value_or("Unnamed");

    auto alertPointer = std::make_shared<platform::ui::Alert>();
    auto& alert = *alertPointer;
    alert.alertStyle = platform::ui::AlertStyle::informational;
    alert.messageText = "Rename Snapshot";
    alert.informativeText = "Enter a new name for the snapshot '" + current + "':";
    alert.addButton("Rename");
    alert.addButton("Cancel");
    auto field = platform::ui::TextField::textFieldWithString(current);
    field->setFrame({0, 0, 300, 24});
    alert.accessoryView = field;
    if (alert.runModal() != platform::ui::ModalResponse::alertFirstButtonReturn) return;

    const std::string newName = platform::Text::trimmingWhitespaceAndNewlines(field->stringValue());
    if (newName.empty()) {
        toast("Notification", "Snapshot name cannot be empty.");
        return;
    }
    snapshot->name = platform::Text::replacingInvalidUtf8(newName);
    try {
        manager_->viewContext().save();
        toast("Notification", "Snapshot renamed to '" + newName + "'.");
    } catch (const platform::Error& error) {
        toast("Notification", std::string("Failed to rename snapshot: ") + error.what());
    }
}

void SnapshotRowModel::deleteSnapshot(const std::shared_ptr<Snapshot>& snapshot) const {
    if (!snapshot || !manager_) return;
    const std::string name = displayName(*snapshot);
    const std::optional<std::string> id = snapshot->idText();
    auto& context = manager_->viewContext();
    context.deleteObject(snapshot);
    try {
        context.save();
    } catch (const platform::Error& error) {
        toast(localized("notification.snapshotTitle"),
              localizedFormat("notification.snapshotDeleteFailed", error.what()));
        return;
    }
    if (id) {
        GlobalShortcuts::setShortcut(std::nullopt, SnapshotShortcuts::launchName(*id));
        GlobalShortcuts::setShortcut(std::nullopt, SnapshotShortcuts::quitName(*id));
    }
    toast(localized("notification.snapshotTitle"), localizedFormat("notification.snapshotDeleteSuccess", name));
}

namespace {

SnapshotShortcuts::Handlers handlersOf(const std::shared_ptr<SnapshotManaging>& manager,
                                       const std::string& snapshotID) {
    return SnapshotShortcuts::Handlers{snapshotID,
                                       [manager, snapshotID] {
                                           if (auto found = manager->viewContext().snapshotWithID(snapshotID))
                                               SnapshotRowModel(manager).launch(found);
                                       },
                                       [manager, snapshotID] {
                                           if (auto found = manager->viewContext().snapshotWithID(snapshotID))
                                               SnapshotRowModel(manager).quit(found);
                                       }};
}

} // namespace

void SnapshotRowModel::addShortcutHandlers(const Snapshot& snapshot) const {
    const auto id = snapshot.idText();
    if (!id || !manager_) return;
    if (SnapshotShortcuts::shared().hasHandlers(*id)) return;
    auto handlers = handlersOf(manager_, *id);
    SnapshotShortcuts::shared().addHandlersOnce(handlers.snapshotID, std::move(handlers.onLaunch),
                                                std::move(handlers.onQuit));
}

void SnapshotRowModel::addShortcutHandlers(const std::vector<std::shared_ptr<Snapshot>>& snapshots) const {
    if (!manager_) return;
    auto& shortcuts = SnapshotShortcuts::shared();
    std::vector<SnapshotShortcuts::Handlers> batch;
    for (const auto& snapshot : snapshots) {
        const auto id = snapshot ? snapshot->idText() : std::nullopt;
        if (id && !shortcuts.hasHandlers(*id)) batch.push_back(handlersOf(manager_, *id));
    }
    shortcuts.addHandlersOnce(std::move(batch));
}

} // namespace tilmora
