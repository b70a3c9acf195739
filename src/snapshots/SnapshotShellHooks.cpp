#include "snapshots/SnapshotShellHooks.hpp"

#include "platform/ui/declarative/HostingView.hpp"
#include "shell/AppDelegate.hpp"
#include "shell/EditorWindowHooks.hpp"
#include "shell/ShellHooks.hpp"
#include "shell/SnapshotStoreHandle.hpp"
#include "snapshots/PersistenceController.hpp"
#include "snapshots/ResetSnappedWindowsHook.hpp"
#include "snapshots/SnapshotBaselinePlanner.hpp"
#include "snapshots/SnapshotBridging.hpp"
#include "snapshots/SnapshotManagerAdapter.hpp"
#include "snapshots/SnapshotManagerView.hpp"

#include <memory>

namespace tilmora::SnapshotShellHooks {

namespace {

namespace decl = platform::ui::declarative;

/// The main window's root: the manager view with the service and the store's view context in its
/// environment.
class ManagerRoot : public decl::Component<ManagerRoot> {
public:
    ManagerRoot(std::shared_ptr<SnapshotManaging> service, SnapshotContext* context)
        : service(std::move(service))
        , context(context) {}
    decl::Element body() override {
        auto root = decl::view<SnapshotManagerView>();
        if (service) root.environment(SnapshotManaging::snapshotManagerKey, service);
        root.environment(SnapshotManaging::managedObjectContextKey, context);
        return root;
    }
    std::shared_ptr<SnapshotManaging> service;
    SnapshotContext* context;
};

/// The shell's handle to the shared store: it names the controller without owning it.
class SharedStoreHandle : public SnapshotStoreHandle {
public:
    explicit SharedStoreHandle(PersistenceController& controller)
        : controller(controller) {}
    PersistenceController& controller;
};

} // namespace

void install(ShellHooks& hooks) {
    hooks.persistenceController = []() -> std::shared_ptr<SnapshotStoreHandle> {
        return std::make_shared<SharedStoreHandle>(PersistenceController::shared());
    };
    hooks.makeSnapshotManager = [](const std::shared_ptr<SnapshotStoreHandle>& store) -> std::shared_ptr<SnapshotManagerService> {
        auto* handle = dynamic_cast<SharedStoreHandle*>(store.get());
        PersistenceController& controller = handle ? handle->controller : PersistenceController::shared();
        return std::make_shared<SnapshotManagerAdapter>(controller.viewContext());
    };
    hooks.mainWindowRoot = [](AppDelegate& delegate) -> std::shared_ptr<platform::ui::View> {
        ResetSnappedWindowsHook::install([weak = delegate.weak()] {
            if (auto shell = weak.lock()) shell->resetAllSnappedWindows(nullptr);
        });
        auto service = std::dynamic_pointer_cast<SnapshotManaging>(delegate.snapshotManager());
        auto* context = &PersistenceController::shared().viewContext();
        return std::make_shared<decl::HostingView>(std::make_shared<ManagerRoot>(service, context),
                                                   platform::ui::Rect{0, 0, 900, 600});
    };
}

void install(EditorWindowHooks& hooks) {
    hooks.displayDescriptors = [](const std::vector<platform::NSScreen>& screens) {
        return SnapshotBridging::displayDescriptors(screens);
    };
    hooks.groupedTargets = [](const std::map<std::string, platform::CGRect>& targets) {
        return SnapshotBaselinePlanner::groupedTargets(targets);
    };
}

} // namespace tilmora::SnapshotShellHooks
