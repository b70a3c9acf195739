#pragma once

#include "platform/ui/View.hpp"
#include "platform/ui/ViewController.hpp"
#include "shell/SnapshotManagerService.hpp"
#include "shell/SnapshotStoreHandle.hpp"

#include <functional>
#include <memory>
#include <string>

namespace tilmora {

class AppDelegate;

/// What the shell takes from the layers above it (the snapshot store and its views, the
/// preferences and the help panel). The program's entry installs them at start-up
/// (`ShellHooks::install`); until then each is a safe placeholder (no store, no view, nothing
/// shown), which says once in the log that nothing was installed when the shell uses it. Each slot
/// is a hook of `HookRegistry` ("ShellHooks.<slot>"). Main thread.
struct ShellHooks {
    /// A handle to the snapshot store's controller; none while the snapshot layer has not
    /// installed it.
    std::function<std::shared_ptr<SnapshotStoreHandle>()> persistenceController = &noPersistenceController;
    /// Builds the snapshot manager service over the given store handle.
    std::function<std::shared_ptr<SnapshotManagerService>(const std::shared_ptr<SnapshotStoreHandle>&)>
        makeSnapshotManager = &noSnapshotManager;
    /// The main window's root view (the snapshot manager), built for the shell; null shows an
    /// empty window.
    std::function<std::shared_ptr<platform::ui::View>(AppDelegate&)> mainWindowRoot = &noMainWindowRoot;
    /// The preferences window's root view; null shows an empty window.
    std::function<std::shared_ptr<platform::ui::View>(AppDelegate&)> preferencesRoot = &noPreferencesRoot;
    /// The help panel's window controller; null means no help panel.
    std::function<std::shared_ptr<platform::ui::WindowController>()> makeHelpPanel = &noHelpPanel;

    // The placeholders.
    static std::shared_ptr<SnapshotStoreHandle> noPersistenceController();
    static std::shared_ptr<SnapshotManagerService> noSnapshotManager(const std::shared_ptr<SnapshotStoreHandle>&);
    static std::shared_ptr<platform::ui::View> noMainWindowRoot(AppDelegate&);
    static std::shared_ptr<platform::ui::View> noPreferencesRoot(AppDelegate&);
    static std::shared_ptr<platform::ui::WindowController> noHelpPanel();

    /// The hooks in force (the placeholders until `install`).
    static ShellHooks& current();
    /// Replaces the hooks in force.
    static void install(ShellHooks hooks);
    /// Puts the placeholders back (tests).
    static void reset();
};

} // namespace tilmora
