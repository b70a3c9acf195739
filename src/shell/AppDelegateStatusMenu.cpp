#include "shell/AppDelegate.hpp"

#include "model/DisplaySignature.hpp"
#include "model/LocalizationManager.hpp"
#include "model/Log.hpp"
#include "model/Settings.hpp"
#include "model/SnapIconKind.hpp"
#include "platform/dispatch/MainQueueDelivery.hpp"
#include "platform/dispatch/MainThread.hpp"
#include "platform/foundation/Bundle.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/input/NSEvent.hpp"
#include "shell/commands/ShellCommandTable.hpp"
#include "shortcuts/Name.hpp"
#include "shortcuts/ShortcutDisplay.hpp"
#include "snapping/RoriDeru.hpp"
#include "snapping/SnapBarController.hpp"
#include "snapping/SnapIconFactory.hpp"
#include "windows/ScreenIdentity.hpp"

#include <cmath>
#include <stdexcept>
#include <string_view>

namespace tilmora {

namespace {

using platform::ui::Menu;
using platform::ui::MenuItem;

// The title with the stored chord's glyphs after a TAB, or the bare title.
std::string withHint(std::string title, const ShellCommand& command) {
    if (!command.chord) return title;
    if (const auto chord = command.chord().shortcut()) {
        title += '\t';
        title += ShortcutDisplay::describe(*chord);
    }
    return title;
}

// The command of `selector` in the command table (every selector the menu names for a command is
// there).
const ShellCommand& commandFor(std::string_view selector) {
    const auto* command = ShellCommandTable::forSelector(selector);
    if (!command) throw std::logic_error("no command for the menu's selector " + std::string(selector));
    return *command;
}

// The localized title of the command's item with its chord hint.
std::string titleOf(const ShellCommand& command) { return withHint(localized(command.titleKey), command); }

} // namespace

std::shared_ptr<Menu> AppDelegate::createMenu(const std::optional<platform::NSScreen>& preferredScreen) {
    platform::requireMainThread("AppDelegate::createMenu");
    auto self = strong();
    auto menu = Menu::make();
    menu->setDelegate(self);
    const std::string displayName = platform::Bundle::main().bundleName().value_or("App");
    RoriDeru& grid = roriDeru();
    const bool suppress = grid.consumeSuppressMenuSelection();

    auto add = [&](Menu& into, const std::string& title, const platform::ui::Selector& action) {
        auto item = MenuItem::make(title, action);
        if (!action.empty() && self) item->setTarget(self);
        into.addItem(item);
        return item;
    };
    auto separator = [](Menu& into) { into.addItem(MenuItem::separatorItem()); };
    auto check = [](const std::shared_ptr<MenuItem>& item, bool on) { item->state = on ? 1 : 0; };
    auto tip = [](const std::shared_ptr<MenuItem>& item, const char* key) { item->toolTip = localized(key); };

    // The switches at the top: the snapshot manager, the snap bar, snapping, the shortcuts, the
    // layout scope, the grid lines, the preset-grid editor, the reset, then the two integrations.
    auto& defaults = this->defaults();
    const auto addCommand = [&](Menu& into, const ShellCommand& command) {
        return add(into, titleOf(command), command.selector);
    };
    auto showManager = addCommand(*menu, commandFor("showWindow"));
    showManager->keyEquivalent = "O";
    showManager->keyEquivalentModifierMask = platform::ModifierFlags::command;
    separator(*menu);
    check(addCommand(*menu, commandFor("toggleSnapBar:")), defaults.boolForKey(settings::snapBarVisible.key));
    const auto& snapping = commandFor("toggleSnapping:");
    check(add(*menu, withHint(localized(grid.isSnappingEnabled() ? "menu.stopSnapping" : snapping.titleKey), snapping),
              snapping.selector),
          grid.isSnappingEnabled());
    check(add(*menu, localized("menu.keyboardShortcuts"), "toggleKeyboardShortcutsEnabled:"), isKeyboardShortcutsEnabled());
    const bool allDisplays = defaults.boolForKey(settings::gridAllDisplays.key);
    auto single = add(*menu, localized("menu.layoutActiveDisplay"), "setLayoutScopeSingle:");
    check(single, !allDisplays);
    tip(single, "menu.help.layoutActiveDisplay");
    auto all = add(*menu, localized("menu.layoutAllDisplays"), "setLayoutScopeAll:");
    check(all, allDisplays);
    tip(all, "menu.help.layoutAllDisplays");
    auto gridLines = add(*menu, localized("prefs.showGridLines"), "toggleGridLines:");
    check(gridLines, defaults.boolForKey(settings::showGridLinesDuringDrag.key));
    tip(gridLines, "menu.help.showGridLines");
    add(*menu, localized("menu.layoutEditor"), "openVeskLayoutEditor:");
    tip(add(*menu, localized("menu.resetWindowsForApp"), "resetAllSnappedWindows:"), "menu.help.resetWindows");
    separator(*menu);
    auto stage = addCommand(*menu, commandFor("toggleIntegrateStageManager:"));
    check(stage, defaults.boolForKey(settings::integrateStageManager.key));
    tip(stage, "menu.help.integrateStageManager");
    auto mission = addCommand(*menu, commandFor("toggleIntegrateMissionControl:"));
    check(mission, defaults.boolForKey(settings::integrateMissionControl.key));
    tip(mission, "menu.help.integrateMissionControl");

    const auto screen = menuContextScreen(preferredScreen);
    std::optional<SnapIconKind> selected;
    if (screen) selected = grid.selectedKind(screen);
    const bool applies = screen ? grid.selectedKindApplies(screen) : false;
    if (defaults.boolForKey(settings::verboseLogging.key)) {
        print("[Menu][PRESET] Rebuilding menu requested=" + (preferredScreen ? preferredScreen->localizedName() : "nil") +
              " target=" + (screen ? screen->localizedName() : "nil") +
              " selected=" + (selected ? std::string(caseName(*selected)) : "nil") + " applies=" + (applies ? "true" : "false"));
    }
    auto iconFor = [](SnapIconKind kind) { return SnapIconFactory::image(kind, {16, 16}); };

    // The window commands with their snap icons, group by group (halves, corners, thirds, sizes,
    // displays), a separator between the groups.
    for (const MenuPlace group : {MenuPlace::halves, MenuPlace::corners, MenuPlace::thirds, MenuPlace::sizes,
                                  MenuPlace::displays}) {
        if (group != MenuPlace::halves) separator(*menu);
        for (const auto* command : ShellCommandTable::inMenu(group)) {
            auto item = addCommand(*menu, *command);
            if (command->kind) {
                item->image = iconFor(*command->kind);
                item->representedObject = *command->kind;
                check(item, !suppress && screen && selected == command->kind && applies);
            }
        }
    }
    // The move-to-display section, then a separator either way.
    const auto screens = platform::NSScreen::screens();
    if (screens.size() >= 2) {
        auto submenu = Menu::make();
        for (std::size_t n = 0; n < screens.size(); ++n) {
            const auto frame = screens[n].frame();
            if (!(frame.size.width > 0) || !(frame.size.height > 0)) continue;
            DisplaySignature signature;
            signature.displayID = tlm_displayID(screens[n]);
            signature.width = DisplaySignature::pixels(frame.size.width, screens[n].backingScaleFactor());
            signature.height = DisplaySignature::pixels(frame.size.height, screens[n].backingScaleFactor());
            auto item = add(*submenu,
                            platform::Text::format(localized("menu.moveToDisplayFormat"),
                                                   {static_cast<std::int64_t>(n + 1), screens[n].localizedName()}),
                            "moveToDisplayMenuItem:");
            item->representedObject = signature;
        }
        if (submenu->numberOfItems() > 0) {
            auto header = add(*menu, localized("menu.moveToDisplayMenu"), "");
            header->setSubmenu(submenu);
        }
    }
    separator(*menu);

    // The edge, quarter and sixth submenus. The edge items run their own selectors; the quarter and
    // sixth items send `snapFromMenuItem:` with their kind.
    auto edges = Menu::make();
    for (const auto* command : ShellCommandTable::inMenu(MenuPlace::edgeSubmenu)) addCommand(*edges, *command);
    add(*menu, localized("menu.moveToEdge"), "")->setSubmenu(edges);
    auto kindSubmenu = [&](const char* headerKey, MenuPlace place) {
        auto submenu = Menu::make();
        for (const auto* command : ShellCommandTable::inMenu(place)) {
            auto item = add(*submenu, titleOf(*command), "snapFromMenuItem:");
            item->image = iconFor(*command->kind);
            item->representedObject = *command->kind;
        }
        add(*menu, localized(headerKey), "")->setSubmenu(submenu);
    };
    kindSubmenu("menu.quarters", MenuPlace::quarterSubmenu);
    kindSubmenu("menu.sixths", MenuPlace::sixthSubmenu);
    separator(*menu);

    // The grid presets, each sending `selectGridPreset:` with its preset, then the preset grids of
    // the display.
    for (const auto* command : ShellCommandTable::inMenu(MenuPlace::grids)) {
        RoriDeru::Preset preset;
        preset.rows = std::max(command->rows, 1);
        preset.cols = std::max(command->cols, 1);
        preset.gutter = 0;
        preset.padding = 0;
        auto item = add(*menu, titleOf(*command), "selectGridPreset:");
        item->image = iconFor(*command->kind);
        item->representedObject = preset;
        check(item, !suppress && screen && !applies && grid.shouldMarkGridPreset(preset, screen));
    }
    addVeskPresetMenuSection(*menu, screen);

    // The tail: preferences; help and launch at login (in an advanced submenu in minimal menu mode,
    // else in the menu itself); quit.
    auto preferences = addCommand(*menu, commandFor("openPreferences:"));
    preferences->keyEquivalent = ",";
    preferences->keyEquivalentModifierMask = platform::ModifierFlags::command;
    auto advanced = Menu::make();
    auto help = addCommand(*advanced, commandFor("openHelp:"));
    help->keyEquivalent = "/";
    help->keyEquivalentModifierMask = platform::ModifierFlags::command | platform::ModifierFlags::shift;
    separator(*advanced);
    check(add(*advanced, localized("menu.launchAtLogin"), "toggleLaunchAtStartup:"), loginItem().showsOn());
    if (defaults.boolForKey(settings::minimalMenuMode.key)) {
        add(*menu, localized("menu.advanced"), "")->setSubmenu(advanced);
    } else {
        for (const auto& item : advanced->items()) menu->addItem(item->copy());
        separator(*menu);
    }
    const auto& quitCommand = commandFor("quitApp");
    auto quit = add(*menu, withHint(platform::Text::format(localized(quitCommand.titleKey), {displayName}), quitCommand),
                    quitCommand.selector);
    quit->keyEquivalent = "Q";
    quit->keyEquivalentModifierMask = platform::ModifierFlags::command;
    return menu;
}

void AppDelegate::rebuildStatusMenu(const std::optional<platform::NSScreen>& preferredScreen) {
    cachedStatusMenu_ = createMenu(preferredScreen);
}

void AppDelegate::statusBarButtonClicked(platform::ui::Responder* sender) {
    if (snapBarController_) snapBarController_->hide();
    std::optional<platform::NSScreen> screen;
    if (auto* button = dynamic_cast<platform::ui::StatusBarButton*>(sender)) {
        if (auto* window = button->window()) screen = window->screen();
    }
    if (defaults().boolForKey(settings::verboseLogging.key)) {
        print("[Menu] Status item clicked from screen=" + (screen ? screen->localizedName() : "nil"));
    }
    cachedStatusMenu_ = createMenu(screen);
    if (statusItem_) statusItem_->popUpStatusItemMenu(cachedStatusMenu_);
}

void AppDelegate::menuWillOpen(platform::ui::Menu&) {
    if (snapBarController_) snapBarController_->hide();
}

void AppDelegate::menuDidClose(platform::ui::Menu&) {
    if (!defaults().boolForKey(settings::snapBarVisible.key)) return;
    const auto mouse = platform::NSEvent::mouseLocation();
    std::optional<platform::NSScreen> screen;
    for (const auto& candidate : platform::NSScreen::screens()) {
        const auto frame = candidate.frame();
        if (mouse.x >= frame.origin.x && mouse.x <= frame.origin.x + frame.size.width && mouse.y >= frame.origin.y &&
            mouse.y <= frame.origin.y + frame.size.height) {
            screen = candidate;
            break;
        }
    }
    if (!screen) screen = platform::NSScreen::main();
    ensureSnapBarController();
    if (snapBarController_) snapBarController_->show(screen, strong());
}

void AppDelegate::subscribeMenuUpdates() {
    std::weak_ptr<AppDelegate> weakSelf = weak();
    platform::NotificationCenter::defaultCenter().addObserver(
        "SnapAreasStoreDidChange", nullptr, platform::MainQueueDelivery::shared(), [weakSelf](const platform::Notification&) {
            auto self = weakSelf.lock();
            if (!self) return;
            self->refreshSnapBarIndicators();
            self->rebuildStatusMenu();
        });
}

} // namespace tilmora
