#include "shell/AppDelegate.hpp"

#include "model/LocalizationManager.hpp"
#include "model/Settings.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/MainQueueDelivery.hpp"
#include "platform/dispatch/MainThread.hpp"
#include "platform/ui/Image.hpp"
#include "shell/ShellHooks.hpp"
#include "snapping/RoriDeru.hpp"
#include "snapping/SnapBarController.hpp"

namespace tilmora {

void AppDelegate::finishUIStartUp() {
    // The main (snapshot manager) window: created hidden; closing it only hides it.
    if (!window_) {
        auto main = std::make_shared<platform::ui::Window>(
            platform::CGRect{{0, 0}, {900, 600}},
            platform::ui::StyleMask::titled | platform::ui::StyleMask::closable | platform::ui::StyleMask::miniaturizable);
        main->center();
        main->title = LocalizationManager::shared().localizedString("app.title");
        main->frameAutosaveName = "Main Window";
        if (auto root = ShellHooks::current().mainWindowRoot(*this)) main->setContentView(root);
        main->isReleasedWhenClosed = false;
        window_ = main;
    }
    // The status item: the click handler pops the menu up itself.
    if (!statusItem_) {
        statusItem_ = platform::ui::StatusBar::system().statusItem(platform::ui::StatusItemLength::variable);
        const auto& button = statusItem_->button();
        button->image = platform::ui::Image::named("Snap.png");
        button->setTarget(strong());
        button->action = "statusBarButtonClicked:";
    }
    rebuildStatusMenu();
    subscribeMenuUpdates();
    // Any change of the stage integration or of any setting refreshes the bar's indicators once,
    // on the next turn.
    std::weak_ptr<AppDelegate> weakSelf = weak();
    auto refreshNextTurn = [weakSelf](const platform::Notification&) {
        platform::DispatchQueue::main().async([weakSelf] {
            if (auto self = weakSelf.lock()) self->refreshSnapBarIndicators();
        });
    };
    auto& center = platform::NotificationCenter::defaultCenter();
    center.addObserver("StageIntegrationStateDidChange", nullptr, platform::MainQueueDelivery::shared(), refreshNextTurn);
    center.addObserver(platform::UserDefaults::didChangeNotification, nullptr, platform::MainQueueDelivery::shared(),
                       refreshNextTurn);
    registerSnapShortcutHandlers();
    applyKeyboardShortcutsEnabledState();
    // The drag settings, each a stored Boolean (anything else reads as the setting's fallback).
    using settings::read;
    RoriDeru& grid = roriDeru();
    grid.setMagnetMode(read(defaults(), settings::magnetDragMode));
    grid.setDragRequireOption(read(defaults(), settings::dragRequireOption));
    grid.setLiveResizeDuringDrag(read(defaults(), settings::liveResizeDuringDrag));
    grid.setShowGridLinesDuringDrag(read(defaults(), settings::showGridLinesDuringDrag));
    grid.setSnappingEnabled(read(defaults(), settings::snappingEnabled));
    if (grid.isSnappingEnabled()) {
        grid.startMonitoringIfNeeded();
    } else {
        grid.stopMonitoring();
    }
}

void AppDelegate::refreshSnapBarSelection() {
    if (snapBarController_) snapBarController_->refreshSelectionHighlight();
}

void AppDelegate::refreshSnapBarIndicators() {
    if (snapBarController_) snapBarController_->refreshIndicators();
}

void AppDelegate::handleLanguagePreferenceChange() {
    if (snapBarController_) {
        snapBarController_->refreshIndicators();
        snapBarController_->applyLocalization();
    }
    rebuildStatusMenu();
}

void AppDelegate::showWindow() {
    platform::requireMainThread("AppDelegate::showWindow");
    auto& application = platform::ui::Application::shared();
    if (window_) {
        if (auto screen = platform::NSScreen::main()) {
            const auto visible = screen->visibleFrame();
            window_->setFrame({{visible.origin.x + (visible.size.width - 1000) / 2,
                               visible.origin.y + (visible.size.height - 600) / 2},
                              {1000, 600}},
                             true);
        }
        window_->makeKeyAndOrderFront();
        application.activate(true);
        return;
    }
    continueInitialization();
    if (window_) window_->makeKeyAndOrderFront();
    application.activate(true);
}

void AppDelegate::openPreferences(platform::ui::Responder*) {
    platform::requireMainThread("AppDelegate::openPreferences");
    auto& application = platform::ui::Application::shared();
    if (!preferencesWindowController_) {
        auto prefs = std::make_shared<platform::ui::Window>(
            platform::CGRect{{0, 0}, {1100, 820}},
            platform::ui::StyleMask::titled | platform::ui::StyleMask::closable |
                platform::ui::StyleMask::miniaturizable | platform::ui::StyleMask::resizable);
        prefs->center();
        prefs->title = LocalizationManager::shared().localizedString("prefs.title");
        if (auto root = ShellHooks::current().preferencesRoot(*this)) prefs->setContentView(root);
        prefs->isReleasedWhenClosed = false;
        preferencesWindowController_ = std::make_shared<platform::ui::WindowController>(prefs);
    }
    preferencesWindowController_->showWindow(nullptr);
    if (auto prefs = preferencesWindowController_->window()) prefs->makeKeyAndOrderFront();
    application.activate(true);
}

void AppDelegate::setLayoutScopeSingle(platform::ui::Responder*) {
    if (!defaults().boolForKey(settings::gridAllDisplays.key)) return;
    defaults().set(platform::PropertyValue(false), settings::gridAllDisplays.key);
    layoutScopePreferenceDidChange();
}

void AppDelegate::setLayoutScopeAll(platform::ui::Responder*) {
    if (defaults().boolForKey(settings::gridAllDisplays.key)) return;
    defaults().set(platform::PropertyValue(true), settings::gridAllDisplays.key);
    layoutScopePreferenceDidChange();
}

void AppDelegate::layoutScopePreferenceDidChange() {
    roriDeru().applyLayoutScopePreference(screenForSnapping());
    refreshSnapBarIndicators();
    rebuildStatusMenu();
}

} // namespace tilmora
