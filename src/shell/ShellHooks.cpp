#include "shell/ShellHooks.hpp"

#include "model/HookRegistry.hpp"

namespace tilmora {

namespace {

ShellHooks& shellHooks() {
    static ShellHooks hooks;
    return hooks;
}

const HookRegistry::Registration persistenceHook("ShellHooks.persistenceController", [] {
    return HookRegistry::holdsOtherThan(shellHooks().persistenceController, &ShellHooks::noPersistenceController);
});
const HookRegistry::Registration managerHook("ShellHooks.makeSnapshotManager", [] {
    return HookRegistry::holdsOtherThan(shellHooks().makeSnapshotManager, &ShellHooks::noSnapshotManager);
});
const HookRegistry::Registration mainWindowHook("ShellHooks.mainWindowRoot", [] {
    return HookRegistry::holdsOtherThan(shellHooks().mainWindowRoot, &ShellHooks::noMainWindowRoot);
});
const HookRegistry::Registration preferencesHook("ShellHooks.preferencesRoot", [] {
    return HookRegistry::holdsOtherThan(shellHooks().preferencesRoot, &ShellHooks::noPreferencesRoot);
});
const HookRegistry::Registration helpPanelHook("ShellHooks.makeHelpPanel", [] {
    return HookRegistry::holdsOtherThan(shellHooks().makeHelpPanel, &ShellHooks::noHelpPanel);
});

} // namespace

std::shared_ptr<SnapshotStoreHandle> ShellHooks::noPersistenceController() {
    HookRegistry::notePlaceholderUse("ShellHooks.persistenceController", "no snapshot store");
    return nullptr;
}

std::shared_ptr<SnapshotManagerService> ShellHooks::noSnapshotManager(const std::shared_ptr<SnapshotStoreHandle>&) {
    HookRegistry::notePlaceholderUse("ShellHooks.makeSnapshotManager", "no snapshot manager");
    return nullptr;
}

std::shared_ptr<platform::ui::View> ShellHooks::noMainWindowRoot(AppDelegate&) {
    HookRegistry::notePlaceholderUse("ShellHooks.mainWindowRoot", "the main window stays empty");
    return nullptr;
}

std::shared_ptr<platform::ui::View> ShellHooks::noPreferencesRoot(AppDelegate&) {
    HookRegistry::notePlaceholderUse("ShellHooks.preferencesRoot", "the preferences window stays empty");
    return nullptr;
}

std::shared_ptr<platform::ui::WindowController> ShellHooks::noHelpPanel() {
    HookRegistry::notePlaceholderUse("ShellHooks.makeHelpPanel", "no help panel");
    return nullptr;
}

ShellHooks& ShellHooks::current() { return shellHooks(); }

void ShellHooks::install(ShellHooks hooks) { shellHooks() = std::move(hooks); }

void ShellHooks::reset() { shellHooks() = ShellHooks{}; }

} // namespace tilmora
