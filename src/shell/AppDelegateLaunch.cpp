#include "shell/AppDelegate.hpp"

#include "model/LocalizationManager.hpp"
#include "model/Log.hpp"
#include "model/NotificationManager.hpp"
#include "model/SystemToastHost.hpp"
#include "model/Settings.hpp"
#include "platform/desktop/Accessibility.hpp"
#include "platform/desktop/AppleEvents.hpp"
#include "platform/desktop/CFValue.hpp"
#include "platform/desktop/NSAppleScript.hpp"
#include "platform/desktop/NSWorkspace.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/MainQueueDelivery.hpp"
#include "platform/dispatch/MainThread.hpp"
#include "platform/foundation/Bundle.hpp"
#include "platform/foundation/ISO8601DateFormatter.hpp"
#include "platform/foundation/StandardOutput.hpp"
#include "platform/foundation/Text.hpp"
#include "shell/Diagnostics.hpp"
#include "shell/ShellHooks.hpp"
#include "shortcuts/DefaultShortcuts.hpp"
#include "snapping/RoriDeru.hpp"
#include "snapping/SnapBarController.hpp"
#include "windows/SpacesMover.hpp"
#include "windows/GeometryBridge.hpp"
#include "windows/SpacesService.hpp"

namespace tilmora {

namespace {

bool askAccessibilityTrust() {
    return platform::AXIsProcessTrustedWithOptions({{platform::kAXTrustedCheckOptionPrompt, platform::CFValue(true)}});
}

// The application name shown in alerts: the bundle's "CFBundleName" text, else "This app".
std::string applicationName() { return platform::Bundle::main().bundleName().value_or("This app"); }

// Shows a two-button alert whose first button opens a System Settings page.
void explainAndOfferSettings(const std::string& titleKey, const std::string& bodyKey, const std::string& secondKey,
                             const std::string& url) {
    auto alert = std::make_shared<platform::ui::Alert>();
    alert->messageText = localized(titleKey);
    alert->informativeText = platform::Text::format(localized(bodyKey), {applicationName()});
    alert->addButton(localized("alert.openSystemSettings"));
    alert->addButton(localized(secondKey));
    if (alert->runModal() == platform::ui::ModalResponse::alertFirstButtonReturn && !url.empty()) {
        platform::NSWorkspace::shared().openURL(url);
    }
}

} // namespace

void AppDelegate::registerAppDefaults() {
    // The 38 launch values, each declared with its key in the settings catalog.
    platform::UserDefaults::standard().registerDefaults(settings::registeredDefaults());
}

void AppDelegate::applicationDidFinishLaunching() {
    platform::requireMainThread("AppDelegate::applicationDidFinishLaunching");
    // 1. The first line goes to standard output only (the log file is cleared below).
    platform::StandardOutput::write("[TLM] Sentinel AppDelegate loaded at " +
                                    platform::ISO8601DateFormatter::string(platform::Date::now()) +
                                    " bundle=" + platform::Bundle::main().bundlePath().string() + "\n");
    // 2. The snap grid for the self-test; the toasts' host, which places the first toast against
    // the main window while it shows (a host installed before the launch stays).
    Diagnostics::setRoriDeru(&roriDeru());
    std::weak_ptr<AppDelegate> shell = weak();
    NotificationManager::installHostIfNone(
        std::make_shared<SystemToastHost>([shell]() -> std::optional<ToastHost::MainWindow> {
            auto self = shell.lock();
            if (!self || !self->window_) return std::nullopt;
            return ToastHost::MainWindow{self->window_->isVisible(), toRect(self->window_->frame())};
        }));
    // 3. No Dock icon.
    auto& application = platform::ui::Application::shared();
    if (application.activationPolicy() != platform::ui::ActivationPolicy::accessory) {
        application.setActivationPolicy(platform::ui::ActivationPolicy::accessory);
    }
    // 4. Logs, defaults, Spaces.
    clearLogFile();
    registerAppDefaults();
    WindowManager::configureSpacesServiceIfNeeded();
    SpacesService::shared().start();
    // 5. Every launch turns snapping on, with no selection and no marked preset.
    RoriDeru& grid = roriDeru();
    defaults().set(platform::PropertyValue(true), settings::snappingEnabled.key);
    grid.setSnappingEnabled(true);
    grid.startMonitoringIfNeeded();
    grid.suppressMenuSelectionOnce();
    grid.clearAllRectSelections();
    grid.clearGridPresetMarking(true);
    // 6. Layout drags over a display with a transient layout go to the tiling controller.
    grid.setTilingController(tilingController());
    // 7.-9. Login item, updater, Accessibility (the answer is used by the UI start-up).
    migrateLaunchAtLoginIfNeeded();
    startUpdater();
    askAccessibilityTrust();
    // 10. The default chords, once per user.
    registerDefaultSnapShortcutsIfNeeded();
    // 11. The snap bar when it was visible.
    if (defaults().boolForKey(settings::snapBarVisible.key)) {
        ensureSnapBarController();
        if (snapBarController_) snapBarController_->show(platform::NSScreen::main(), strong());
    }
    // 12. Observers, delivered on the main queue.
    auto& center = platform::NotificationCenter::defaultCenter();
    std::weak_ptr<AppDelegate> weakSelf = weak();
    languageObserver_ = center.addObserver(
        LocalizationManager::languageDidChange, nullptr, platform::MainQueueDelivery::shared(),
        [weakSelf](const platform::Notification&) {
            if (auto self = weakSelf.lock()) self->handleLanguagePreferenceChange();
        });
    rectSelectionObserver_ = center.addObserver(
        RoriDeru::selectedKindDidChangeNotification, nullptr, platform::MainQueueDelivery::shared(),
        [weakSelf](const platform::Notification&) {
            auto self = weakSelf.lock();
            if (!self) return;
            self->refreshSnapBarSelection();
            self->rebuildStatusMenu();
        });
}

void AppDelegate::startUpdater() {
    updaterController_ = std::make_unique<platform::SPUStandardUpdaterController>(false, this);
    auto& updater = updaterController_->updater();
    updater.automaticallyChecksForUpdates = true;
    try {
        updaterController_->startUpdater();
    } catch (const platform::Error& error) {
        // An updater that cannot start never finishes a cycle: start the UI anyway.
        print(std::string("Updater aborted with error: ") + error.what());
        std::weak_ptr<AppDelegate> weakSelf = weak();
        platform::DispatchQueue::main().async([weakSelf] {
            auto self = weakSelf.lock();
            if (!self || self->initializationHasStarted_) return;
            self->initializationHasStarted_ = true;
            self->continueInitialization();
        });
        return;
    }
    updater.checkForUpdatesInBackground();
}

void AppDelegate::updaterDidNotFindUpdate(platform::SPUUpdater&) { print("Updater did not find an update."); }

void AppDelegate::updaterDidAbortWithError(platform::SPUUpdater&, const platform::Error& error) {
    print(std::string("Updater aborted with error: ") + error.what());
}

void AppDelegate::updaterDidFindValidUpdate(platform::SPUUpdater&, const std::string&) {
    print("Updater found a valid update.");
}

void AppDelegate::updaterDidFinishUpdateCycle(platform::SPUUpdater&, const std::optional<platform::Error>& error) {
    print(std::string("Updater finished update cycle. Error: ") + (error ? error->what() : "No error"));
    if (initializationHasStarted_) return;
    initializationHasStarted_ = true;
    continueInitialization();
}

void AppDelegate::checkAccessibilityAndExplain() {
    if (askAccessibilityTrust()) {
        print("Accessibility permissions granted.");
        return;
    }
    print("Accessibility permissions NOT granted. Prompting user...");
    explainAndOfferSettings("alert.ax.requiredTitle", "alert.ax.requiredBody", "alert.later",
                            "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility");
}

void AppDelegate::requestSystemEventsPermission() {
    const auto status = platform::AEDeterminePermissionToAutomateTarget("com.apple.systemevents", true);
    if (status == 0) {
        print("System Events permission: Granted.");
        return;
    }
    if (status == -1744) {
        print("System Events permission: Requires user consent. AppleScript will trigger prompt.");
    } else if (status == -1743) {
        print("System Events permission: Not permitted. Will attempt to request.");
    } else {
        print("System Events permission: Status unknown (" + std::to_string(status) + "). Will attempt to request.");
    }
    auto script = platform::NSAppleScript::create("tell application \"System Events\" to get name of every process");
    if (!script) {
        print("Failed to create AppleScript for requesting System Events permission.");
        return;
    }
    std::optional<platform::CFDictionary> errorInfo;
    script->executeAndReturnError(errorInfo);
    if (!errorInfo) {
        print("System Events access seems to be working or permission granted now.");
        return;
    }
    print("Error executing AppleScript for System Events permission (or permission denied): " +
          platform::CFValue(*errorInfo).description());
    platform::DispatchQueue::main().async([] {
        explainAndOfferSettings("alert.systemEvents.deniedTitle", "alert.systemEvents.deniedBody", "alert.ok",
                                "x-apple.systempreferences:com.apple.preference.security?Privacy_Automation");
    });
}

void AppDelegate::continueInitialization() {
    platform::requireMainThread("AppDelegate::continueInitialization");
    if (didFinishUIInitialization_) {
        std::weak_ptr<AppDelegate> weakSelf = weak();
        platform::DispatchQueue::main().async([weakSelf] {
            if (auto self = weakSelf.lock()) self->rebuildStatusMenu();
        });
        return;
    }
    didFinishUIInitialization_ = true;
    checkAccessibilityAndExplain();
    requestSystemEventsPermission();
    finishUIStartUp();
}

} // namespace tilmora
