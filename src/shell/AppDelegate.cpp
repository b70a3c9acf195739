#include "shell/AppDelegate.hpp"

#include "model/Log.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/MainThread.hpp"
#include "shell/ShellHooks.hpp"
#include "snapping/DefaultTilingEngine.hpp"
#include "snapping/RoriDeru.hpp"
#include "snapping/SnapBarController.hpp"
#include "snapping/SnapBarOverlayCoordinator.hpp"
#include "snapping/TilingController.hpp"
#include "windows/SystemDisplayProvider.hpp"
#include "windows/SystemWindowMutator.hpp"
#include "windows/SystemWindowProvider.hpp"

namespace tilmora {

AppDelegate::AppDelegate()
    : persistenceController_(ShellHooks::current().persistenceController())
    , defaults_(&platform::UserDefaults::standard())
    , shortcutSwitch_(*defaults_, [this] { rebuildStatusMenu(); })
    , veskPresetMenu_([this] { return layoutStore(); }, [this] { return strong(); }, *defaults_) {
    environment_ = AppEnvironment::live([this] {
        return ShellHooks::current().makeSnapshotManager(persistenceController_);
    });
    baseLayoutStore_ = std::make_shared<DefaultLayoutStore>(std::nullopt);
    profileStore_ = std::make_shared<DefaultProfileStore>(std::nullopt);
    overlayCoordinator_ = std::make_shared<SnapBarOverlayCoordinator>();
    registerActions();
}

AppDelegate::~AppDelegate() {
    auto& center = platform::NotificationCenter::defaultCenter();
    if (languageObserver_) center.removeObserver(*languageObserver_);
    if (rectSelectionObserver_) center.removeObserver(*rectSelectionObserver_);
}

std::weak_ptr<AppDelegate> AppDelegate::weak() { return strong(); }

std::shared_ptr<AppDelegate> AppDelegate::strong() {
    std::weak_ptr<Responder> self = weak_from_this();
    return std::static_pointer_cast<AppDelegate>(self.lock());
}

void AppDelegate::useWindowMover(std::shared_ptr<WindowMoving> mover) { environment_.windowMover = std::move(mover); }

void AppDelegate::useBaseLayoutStore(std::shared_ptr<DefaultLayoutStore> store) { baseLayoutStore_ = std::move(store); }

const std::shared_ptr<SnapshotManagerService>& AppDelegate::snapshotManager() {
    if (!snapshotManager_) snapshotManager_ = environment_.snapshotManager;
    return *snapshotManager_;
}

RoriDeru& AppDelegate::roriDeru() {
    if (roriDeru_ == nullptr) roriDeru_ = environment_.roriDeru != nullptr ? environment_.roriDeru : &RoriDeru::shared();
    return *roriDeru_;
}

WindowMoving& AppDelegate::windowMover() {
    if (!windowMover_) windowMover_ = environment_.windowMover;
    return *windowMover_;
}

DisplayLayoutPersisting& AppDelegate::displayLayoutStore() {
    if (!displayLayoutStore_) displayLayoutStore_ = environment_.displayLayoutStore;
    return *displayLayoutStore_;
}

std::shared_ptr<ProfileAwareLayoutStore> AppDelegate::layoutStore() {
    if (!layoutStore_) {
        std::weak_ptr<AppDelegate> weakSelf = weak();
        layoutStore_ = std::make_shared<ProfileAwareLayoutStore>(
            baseLayoutStore_, [weakSelf]() -> std::optional<LayoutProfile> {
                auto self = weakSelf.lock();
                if (!self) return std::nullopt;
                return self->profileController().activeProfile();
            });
    }
    return layoutStore_;
}

ProfileController& AppDelegate::profileController() {
    if (!profileController_) {
        profileController_ = std::make_unique<ProfileController>(std::make_shared<SystemDisplayProvider>(), profileStore_);
    }
    return *profileController_;
}

std::shared_ptr<TilingController> AppDelegate::tilingController() {
    if (tilingController_) return tilingController_;
    auto controller = std::make_shared<TilingController>(
        std::make_shared<SystemDisplayProvider>(), std::make_shared<SystemWindowProvider>(),
        std::make_shared<SystemWindowMutator>(), std::make_shared<DefaultTilingEngine>(), layoutStore());
    controller->connectOverlayPresenter(overlayCoordinator_);
    std::weak_ptr<AppDelegate> weakSelf = weak();
    controller->frontmostWindowMover = [weakSelf](const Rect& rect) {
        auto move = [weakSelf, rect] {
            if (auto self = weakSelf.lock()) self->roriDeru().moveFrontmostAXWindow(rect);
        };
        if (platform::isMainThread()) {
            move();
        } else {
            platform::DispatchQueue::main().async(move);
        }
    };
    tilingController_ = controller;
    return tilingController_;
}

void AppDelegate::registerActions() {
    // The actions live in the shell's own table, so they never outlive it.
    auto bind = [this](const platform::ui::Selector& selector, std::function<void(AppDelegate&, Responder*)> body) {
        registerAction(selector, [this, body = std::move(body)](Responder* sender) { body(*this, sender); });
    };
    bind("continueInitialization", [](AppDelegate& s, Responder*) { s.continueInitialization(); });
    bind("requestSystemEventsPermission", [](AppDelegate& s, Responder*) { s.requestSystemEventsPermission(); });
    bind("applicationWillTerminate:", [](AppDelegate& s, Responder*) { s.applicationWillTerminate(); });
    bind("clearLogFile", [](AppDelegate& s, Responder*) { s.clearLogFile(); });
    bind("layoutScopePreferenceDidChange", [](AppDelegate& s, Responder*) { s.layoutScopePreferenceDidChange(); });
    bind("refreshSnapBarIndicators", [](AppDelegate& s, Responder*) { s.refreshSnapBarIndicators(); });
    bind("runDiagnostics", [](AppDelegate& s, Responder*) { s.runDiagnostics(); });
    bind("statusBarButtonClicked:", [](AppDelegate& s, Responder* sender) { s.statusBarButtonClicked(sender); });
    // The messages that take an object: a screen (or none) and the wish for login start.
    auto screenOf = [](const std::any& object) {
        const auto* screen = std::any_cast<platform::NSScreen>(&object);
        return screen ? std::optional<platform::NSScreen>(*screen) : std::nullopt;
    };
    registerMethod("rebuildStatusMenuWithPreferredScreen:", [this, screenOf](const std::any& object) {
        rebuildStatusMenu(screenOf(object));
        return std::any{};
    });
    registerMethod("createMenuWithPreferredScreen:", [this, screenOf](const std::any& object) {
        return std::any(createMenu(screenOf(object)));
    });
    registerMethod("setLaunchAtLoginWithEnabled:", [this](const std::any& object) {
        const auto* enabled = std::any_cast<bool>(&object);
        return std::any(setLaunchAtLogin(enabled && *enabled));
    });
    registerCommandActions();
}

// ---- The application delegate ------------------------------------------------------------------

AppDelegateWrapper::AppDelegateWrapper()
    : appDelegate_(std::make_shared<AppDelegate>()) {}

void AppDelegateWrapper::applicationDidFinishLaunching() { appDelegate_->applicationDidFinishLaunching(); }

void AppDelegateWrapper::applicationWillTerminate() { appDelegate_->applicationWillTerminate(); }

std::shared_ptr<AppDelegate> AppDelegateWrapper::current() {
    auto delegate = platform::ui::Application::shared().delegate.lock();
    auto wrapper = std::dynamic_pointer_cast<AppDelegateWrapper>(delegate);
    return wrapper ? wrapper->appDelegate() : nullptr;
}

} // namespace tilmora
