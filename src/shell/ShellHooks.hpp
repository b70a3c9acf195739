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

/// What the shell takes from the layers above it (the snapshot store and its views, the editors,
/// the preferences and the help panel). The program's entry installs them at start-up
/// (`ShellHooks::install`); until then each is a safe placeholder: no store, no view, nothing
/// shown. Main thread.
struct ShellHooks {
    /// A handle to the snapshot store's controller; none while the snapshot layer has not
    /// installed it.
    std::function<std::shared_ptr<SnapshotStoreHandle>()> persistenceController = [] {
        return std::shared_ptr<SnapshotStoreHandle>();
    };
    /// Builds the snapshot manager service over the given store handle.
    std::function<std::shared_ptr<SnapshotManagerService>(const std::shared_ptr<SnapshotStoreHandle>&)>
        makeSnapshotManager = [](const std::shared_ptr<SnapshotStoreHandle>&) {
            return std::shared_ptr<SnapshotManagerService>();
        };
    /// The main window's root view (the snapshot manager), built for the shell; null shows an
    /// empty window.
    std::function<std::shared_ptr<platform::ui::View>(AppDelegate&)> mainWindowRoot =
        [](AppDelegate&) { return std::shared_ptr<platform::ui::View>(); };
    /// The preferences window's root view; null shows an empty window.
    std::function<std::shared_ptr<platform::ui::View>(AppDelegate&)> preferencesRoot =
        [](AppDelegate&) { return std::shared_ptr<platform::ui::View>(); };
    /// The help panel's window controller; null means no help panel.
    std::function<std::shared_ptr<platform::ui::WindowController>()> makeHelpPanel =
        [] { return std::shared_ptr<platform::ui::WindowController>(); };
    /// Publishes the snap grid to the snapshot operations (`WindowManager.roriDeru`).
    std::function<void(AppDelegate&)> publishSnapGrid = [](AppDelegate&) {};
    /// Extra hook slots for higher layers, by name (editors and others); absent names do nothing.
    std::function<void(const std::string& name, AppDelegate&)> action = [](const std::string&, AppDelegate&) {};

    /// The hooks in force (the placeholders until `install`).
    static ShellHooks& current();
    /// Replaces the hooks in force.
    static void install(ShellHooks hooks);
    /// Puts the placeholders back (tests).
    static void reset();
};

} // namespace tilmora
