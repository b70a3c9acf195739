#pragma once

#include "model/DefaultLayoutStore.hpp"
#include "model/DefaultProfileStore.hpp"
#include "model/ProfileAwareLayoutStore.hpp"
#include "model/ProfileController.hpp"
#include "model/Rect.hpp"
#include "model/Settings.hpp"
#include "model/SnapIconKind.hpp"
#include "model/VeskPreset.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/desktop/SPUStandardUpdaterController.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/foundation/Uuid.hpp"
#include "platform/ui/Alert.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/Menu.hpp"
#include "platform/ui/Responder.hpp"
#include "platform/ui/StatusItem.hpp"
#include "platform/ui/ViewController.hpp"
#include "platform/ui/Window.hpp"
#include "shell/AppEnvironment.hpp"
#include "shell/SnapshotManagerService.hpp"
#include "shell/SnapshotStoreHandle.hpp"
#include "shell/commands/CommandContext.hpp"
#include "shell/commands/LaunchAtLogin.hpp"
#include "shell/commands/ShortcutMasterSwitch.hpp"
#include "shell/commands/VeskPresetCommands.hpp"
#include "shell/commands/VeskPresetMenu.hpp"
#include "shell/commands/WindowCommands.hpp"
#include "shell/commands/WindowRectMemory.hpp"
#include "shortcuts/Name.hpp"

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace tilmora {

class RoriDeru;
class SnapBarController;
class SnapBarOverlayCoordinator;
class TilingController;
struct EditorWindowContext;
struct SwitchContext;
namespace testing {
struct ShellAccess;
}

/// The application shell: the one object that owns every long-lived component of the program
/// (stores, controllers, the status item and its menu, the main window, the updater) and answers
/// every menu item, status-bar button and global chord. It is held by `std::shared_ptr` in its
/// `AppDelegateWrapper`; closures it hands out capture `weak()` and do nothing once it is gone.
/// Its action selectors are registered on itself (`registerAction`), so the application's
/// target-action dispatch reaches it as the application delegate's shell.
///
/// Responder already derives from `enable_shared_from_this<Responder>`; `weak()` and `strong()`
/// give the typed pointers.
///
/// Main thread only.
class AppDelegate : public platform::ui::Responder,
                    public CommandContext,
                    public platform::ui::MenuDelegate,
                    public platform::SPUUpdaterDelegate {
public:
    using HDir = WindowCommands::HDir;
    using VDir = WindowCommands::VDir;
    /// A preset of the preset grids chosen for one display, carried by a menu item.
    using VeskPresetMenuSelection = VeskPresetCommands::MenuSelection;

    /// Builds the stores, the overlay coordinator and the environment, and registers the action
    /// selectors. Nothing runs until `applicationDidFinishLaunching`.
    AppDelegate();
    ~AppDelegate() override;

    std::weak_ptr<AppDelegate> weak();

    platform::UserDefaults& defaults() const { return *defaults_; }
    /// The key of the keyboard-shortcut master switch.
    static constexpr const char* keyboardShortcutsEnabledKey = settings::keyboardShortcutsEnabled.key;

    // ---- The components the shell owns (read-only views; the shell changes them) -------------
    const std::shared_ptr<platform::ui::StatusItem>& statusItem() const { return statusItem_; }
    /// The main window (the snapshot manager), made by the UI start-up.
    const std::shared_ptr<platform::ui::Window>& window() const { return window_; }
    const AppEnvironment& environment() const { return environment_; }
    const std::shared_ptr<DefaultLayoutStore>& baseLayoutStore() const { return baseLayoutStore_; }
    const std::shared_ptr<DefaultProfileStore>& profileStore() const { return profileStore_; }
    const std::unique_ptr<platform::SPUStandardUpdaterController>& updaterController() const { return updaterController_; }
    const std::shared_ptr<SnapBarController>& snapBarController() const { return snapBarController_; }
    /// Per window key, the window's rectangle before the latest recording command.
    const std::unordered_map<std::string, Rect>& lastRectByWindowKey() const { return windowRects_.last(); }
    /// Per window key, the window's rectangle before the first recording command of this run.
    const std::unordered_map<std::string, Rect>& baselineRectByWindowKey() const { return windowRects_.baseline(); }
    const std::shared_ptr<platform::ui::WindowController>& preferencesWindowController() const {
        return preferencesWindowController_;
    }
    const std::shared_ptr<platform::ui::WindowController>& layoutEditorWindowController() const {
        return layoutEditorWindowController_;
    }
    const std::shared_ptr<platform::ui::WindowController>& veskLayoutWindowController() const {
        return veskLayoutWindowController_;
    }
    const std::shared_ptr<platform::ui::WindowController>& helpWindowController() const { return helpWindowController_; }
    /// The status menu built last.
    const std::shared_ptr<platform::ui::Menu>& cachedStatusMenu() const { return cachedStatusMenu_; }
    bool didFinishUIInitialization() const { return didFinishUIInitialization_; }
    bool initializationHasStarted() const { return initializationHasStarted_; }
    /// True while the keyboard-shortcut enable pass runs (a pass started meanwhile does nothing).
    bool isApplyingKeyboardShortcutsState() const { return shortcutSwitch_.isApplying(); }

    // ---- Set-up before launch (the program's host, tests and benchmarks) ---------------------
    /// Moves windows through `mover` instead of the snap grid (before the first command).
    void useWindowMover(std::shared_ptr<WindowMoving> mover);
    /// Keeps layouts in `store` instead of the default layout file (before the first read).
    void useBaseLayoutStore(std::shared_ptr<DefaultLayoutStore> store);

    /// Lazy services: the first read copies the environment's field.
    const std::shared_ptr<SnapshotManagerService>& snapshotManager();
    RoriDeru& roriDeru();
    WindowMoving& windowMover();
    DisplayLayoutPersisting& displayLayoutStore();

    /// The profile-aware layout store over `baseLayoutStore` (its provider holds the shell weakly
    /// and answers none once it is gone).
    std::shared_ptr<ProfileAwareLayoutStore> layoutStore();
    ProfileController& profileController();
    /// Built on first read: system providers, the default engine, the profile-aware store, the
    /// overlay coordinator as presenter and a frontmost-window mover that hops to the main queue.
    std::shared_ptr<TilingController> tilingController();

    // ---- Launch, UI start-up, permissions, updater, quit, logs, help (shell core) -------------
    /// The launch phase.
    void applicationDidFinishLaunching();
    /// The UI start-up; runs its work once, later calls rebuild the status menu next turn.
    void continueInitialization();
    /// Registers the 38 fallback values of the settings (never persisted).
    void registerAppDefaults();
    void requestSystemEventsPermission();
    /// Creates and starts the updater and asks for one background check.
    void startUpdater();

    void updaterDidNotFindUpdate(platform::SPUUpdater&) override;
    void updaterDidAbortWithError(platform::SPUUpdater&, const platform::Error& error) override;
    void updaterDidFindValidUpdate(platform::SPUUpdater&, const std::string& version) override;
    void updaterDidFinishUpdateCycle(platform::SPUUpdater&, const std::optional<platform::Error>& error) override;

    void quitApp() override;
    void applicationWillTerminate();
    static void showAlert(const std::string& message, platform::ui::AlertStyle style);
    void clearLogFile();
    void pruneTLMLogFiles(const std::filesystem::path& folder, std::size_t maxToKeep,
                          const std::set<std::string>& excludeExactFileNames);
    void openHelp(platform::ui::Responder* sender) override;
    /// The result of the self-test.
    struct DiagnosticsResult {
        int passed = 0;
        int failed = 0;
        std::vector<std::string> messages;
    };
    /// Runs the self-test and presents its result.
    void runDiagnostics();

    // Launch at login: one-line calls into `LaunchAtLogin`.
    std::string launchAgentLabel() const;
    std::filesystem::path launchAgentPlistURL() const;
    void writeLaunchAgentPlist() const;
    using ProcessResult = LaunchAtLogin::ProcessResult;
    ProcessResult runProcess(const std::string& path, const std::vector<std::string>& arguments) const;
    bool isLaunchAtStartupEnabled() const;
    bool setLaunchAtLogin(bool enabled) const;
    void toggleLaunchAtStartup(platform::ui::Responder* sender) override;
    void migrateLaunchAtLoginIfNeeded();

    // ---- Status menu, shortcut bindings, windows, self-test (shell core) ---------------------
    /// Rebuilds the status menu into `cachedStatusMenu` for `preferredScreen` (none: the screen
    /// the selection follows).
    void rebuildStatusMenu(const std::optional<platform::NSScreen>& preferredScreen = std::nullopt);
    void showWindow() override;
    void openPreferences(platform::ui::Responder* sender) override;
    void setLayoutScopeSingle(platform::ui::Responder* sender) override;
    void setLayoutScopeAll(platform::ui::Responder* sender) override;
    void layoutScopePreferenceDidChange();
    void handleLanguagePreferenceChange();
    void refreshSnapBarIndicators();
    /// A complete new status menu for the context screen of `preferredScreen`.
    std::shared_ptr<platform::ui::Menu> createMenu(const std::optional<platform::NSScreen>& preferredScreen);
    /// The status button's action: builds the menu for the clicked display and pops it up.
    void statusBarButtonClicked(platform::ui::Responder* sender);
    void menuWillOpen(platform::ui::Menu& menu) override;
    void menuDidClose(platform::ui::Menu& menu) override;
    /// Rebuilds the menu (and refreshes the bar's indicators) when the snap areas change.
    void subscribeMenuUpdates();
    /// Binds the key-down handler of every catalog chord to its command of `ShellCommandTable`,
    /// in the table's order (once per name).
    void registerSnapShortcutHandlers();

    // ---- Window commands, menu actions, presets, editor windows and switches -----------------
    // (declarations of the command files: AppDelegateWindowCommands.cpp and the others)
    //
    // Geometry is in global coordinates: points, origin at the bottom-left of the main display,
    // y up, on a screen's visible frame. Every command runs on the main thread, moves windows
    // through `windowMover()` and logs through `print`.

    // Screen choice (`ScreenChoice` over the snap grid and the defaults).
    /// The screen a window command acts on (`ScreenChoice::forSnapping`).
    std::optional<platform::NSScreen> screenForSnapping();
    /// The screen the status menu describes (`ScreenChoice::menuContext`).
    std::optional<platform::NSScreen> menuContextScreen(const std::optional<platform::NSScreen>& preferredScreen);
    /// The screens a layout change applies to (`ScreenChoice::layoutTargets`).
    std::vector<platform::NSScreen> layoutTargetScreens(const std::optional<platform::NSScreen>& preferredScreen);

    /// The context of one window command: the snap grid, the window mover, the defaults, the
    /// layout memory, the window rectangles, and hooks that rebuild the status menu, refresh the
    /// snap bar's highlight and clear the preset-grid selection (AppDelegateContexts.cpp).
    WindowCommandContext windowCommandContext() override;

    // Window commands: each runs the command of `WindowCommands` over `windowCommandContext()`
    // (AppDelegateWindowCommands.cpp).
    void snapToKind(SnapIconKind kind);
    void snapFromMenuItem(platform::ui::Responder* sender);
    void snapMaximizeHeight();
    void resizeRelative(double scale);
    void snapRestoreLast();
    void snapRestoreLastLayout();
    void resetAllSnappedWindows(platform::ui::Responder* sender);
    void captureBaselineIfNeeded(const std::string& key, const Rect& currentRect);
    void moveToEdge(std::optional<HDir> h, std::optional<VDir> v);
    void moveToAdjacentDisplay(int step);
    void enterMacFullScreen();
    void snapFullScreenHalf(SnapIconKind kind);
    void fullScreenPresetAction(platform::ui::Responder* sender);
    void selectGridPreset(platform::ui::Responder* sender);
    void selectGridPresetFromPopup(platform::ui::Responder* sender);
    void selectGridViaShortcut(std::int64_t rows, std::int64_t cols);
    void toggleGridLines(platform::ui::Responder* sender) override;
    void toggleLayoutScope(platform::ui::Responder* sender) override;
    void openSnapPreferences() override;

    // Menu actions for displays and snap areas: the commands of `DisplayMenuCommands` over
    // `windowCommandContext()` (AppDelegateDisplayMenuActions.cpp).
    void moveToDisplayMenuItem(platform::ui::Responder* sender);
    void snapAreaFromMenuItem(platform::ui::Responder* sender);
    void applyStoredLayoutForCurrentSetup(platform::ui::Responder* sender);
    /// Moves the frontmost window onto `target`, relative to its display when
    /// `settings::preserveRelativeMove` allows, clamped into the target's visible frame.
    void moveFrontmostWindow(const platform::NSScreen& target);

    // Preset grids per display: `VeskPresetCommands` and `VeskPresetMenu`
    // (AppDelegatePresetGrids.cpp).
    std::optional<platform::UUID> veskSelectedPresetId(const platform::NSScreen& screen) const;
    void setVeskSelectedPresetId(const std::optional<platform::UUID>& presetId, const platform::NSScreen& screen);
    void clearVeskSelection(const std::vector<platform::NSScreen>& screens);
    void applyVeskPresetFromMenu(platform::ui::Responder* sender) override;
    void applyVeskTilePresetFromSnapBar(platform::ui::Responder* sender) override;
    void applyVeskPreset(const VeskPreset& preset, const platform::NSScreen& screen);
    void applyVeskTile(const VeskTile& tile, const platform::NSScreen& screen);
    /// `VeskPresetMenu::addSection` for `screen`, the snapping screen when none.
    void addVeskPresetMenuSection(platform::ui::Menu& menu, const std::optional<platform::NSScreen>& screen);

    // Editor windows: `EditorWindowCommands` (AppDelegateEditorWindows.cpp).
    void openLayoutEditor(platform::ui::Responder* sender) override;
    void openVeskLayoutEditor(platform::ui::Responder* sender) override;

    // Snap bar and switches: `SwitchCommands` and `ShortcutMasterSwitch` (AppDelegateSwitches.cpp).
    void ensureSnapBarController();
    void toggleSnapBar(platform::ui::Responder* sender) override;
    void disableSnapBarFromCloseButton() override;
    void toggleSnapping(platform::ui::Responder* sender) override;
    void resetSnapSelection(platform::ui::Responder* sender) override;
    void toggleStageReserve(platform::ui::Responder* sender) override;
    void toggleIntegrateStageManager(platform::ui::Responder* sender) override;
    void toggleIntegrateMissionControl(platform::ui::Responder* sender) override;
    bool isKeyboardShortcutsEnabled() const;
    /// `ShortcutMasterSwitch::apply` (it also logs the chord conflicts).
    void applyKeyboardShortcutsEnabledState();
    void setKeyboardShortcutsEnabled(bool enabled) override;
    void toggleKeyboardShortcutsEnabled(platform::ui::Responder* sender) override;
    /// The 61 names of the shortcut catalog, in catalog order; built once.
    static const std::vector<GlobalShortcuts::Name>& allKeyboardShortcutNames();

    // ---- end of the command declarations ---------------------------------------------------

private:
    /// Test support reaches the parts below that only the shell's own wiring uses.
    friend struct testing::ShellAccess;

    /// The shell as a shared pointer (null while it is being made or destroyed).
    std::shared_ptr<AppDelegate> strong();
    /// Steps of the UI start-up after the permissions: main window, status item and menu,
    /// observers, chords and the drag settings.
    void finishUIStartUp();
    /// Checks Accessibility trust (with the system prompt) and explains a refusal in an alert.
    void checkAccessibilityAndExplain();
    /// Shows the self-test result in an alert, then logs the summary (and the details).
    void presentDiagnosticsResult(const DiagnosticsResult& result);
    /// Registers the selector of every command of `ShellCommandTable` (window commands, menu
    /// actions, presets, editors and switches).
    void registerCommandActions();
    /// Registers the launch, quit, help and menu selectors, then `registerCommandActions()`.
    void registerActions();
    /// Login start over the shell's defaults, its alerts shown by `showAlert`.
    LaunchAtLogin loginItem() const;
    /// The contexts of the preset-grid, switch and editor-window commands (AppDelegateContexts.cpp).
    VeskPresetContext veskPresetContext();
    SwitchContext switchContext();
    EditorWindowContext editorWindowContext();
    /// The snap bar's selection highlight follows the selected kind (when there is a bar).
    void refreshSnapBarSelection();

    std::shared_ptr<platform::ui::StatusItem> statusItem_;
    std::shared_ptr<platform::ui::Window> window_;
    /// The handle to the snapshot store's controller (see `ShellHooks`).
    std::shared_ptr<SnapshotStoreHandle> persistenceController_;
    platform::UserDefaults* defaults_;
    /// The keyboard-shortcut master switch, with the guard of its enable pass.
    ShortcutMasterSwitch shortcutSwitch_;
    AppEnvironment environment_;
    std::shared_ptr<DefaultLayoutStore> baseLayoutStore_;
    std::shared_ptr<DefaultProfileStore> profileStore_;
    std::shared_ptr<SnapBarOverlayCoordinator> overlayCoordinator_;
    std::unique_ptr<platform::SPUStandardUpdaterController> updaterController_;
    std::shared_ptr<SnapBarController> snapBarController_;
    WindowRectMemory windowRects_;
    std::shared_ptr<platform::ui::WindowController> preferencesWindowController_;
    std::shared_ptr<platform::ui::WindowController> snapAreasWindowController_;
    std::shared_ptr<platform::ui::WindowController> gridPanelWindowController_;
    std::vector<platform::NSScreen> gridPanelScreens_;
    std::shared_ptr<platform::ui::WindowController> layoutEditorWindowController_;
    std::shared_ptr<platform::ui::WindowController> veskLayoutWindowController_;
    std::shared_ptr<platform::ui::Menu> cachedStatusMenu_;
    bool didFinishUIInitialization_ = false;
    std::shared_ptr<platform::ui::WindowController> helpWindowController_;
    bool initializationHasStarted_ = false;
    std::optional<platform::ObserverToken> languageObserver_;
    std::optional<platform::ObserverToken> rectSelectionObserver_;
    std::optional<std::shared_ptr<SnapshotManagerService>> snapshotManager_;
    RoriDeru* roriDeru_ = nullptr;
    std::shared_ptr<WindowMoving> windowMover_;
    std::shared_ptr<DisplayLayoutPersisting> displayLayoutStore_;
    std::shared_ptr<ProfileAwareLayoutStore> layoutStore_;
    /// The status menu's preset-grid section, with the layouts it read last.
    VeskPresetMenu veskPresetMenu_;
    std::unique_ptr<ProfileController> profileController_;
    std::shared_ptr<TilingController> tilingController_;
};

/// The application's delegate: owns the one shell for the life of the process and forwards
/// launch-finished and termination to it.
class AppDelegateWrapper : public platform::ui::ApplicationDelegate {
public:
    AppDelegateWrapper();
    const std::shared_ptr<AppDelegate>& appDelegate() const { return appDelegate_; }
    void applicationDidFinishLaunching() override;
    void applicationWillTerminate() override;

    /// The running application's shell: the delegate's `appDelegate`, or null when the
    /// application's delegate is not a wrapper (or is gone).
    static std::shared_ptr<AppDelegate> current();

private:
    std::shared_ptr<AppDelegate> appDelegate_;
};

} // namespace tilmora
