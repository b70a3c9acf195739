#include "shell/AppDelegate.hpp"

#include "model/LocalizationManager.hpp"
#include "model/DisplaySignature.hpp"
#include "model/Log.hpp"
#include "model/SnapIconKind.hpp"
#include "platform/desktop/SMAppService.hpp"
#include "platform/dispatch/MainQueueDelivery.hpp"
#include "platform/dispatch/MainThread.hpp"
#include "platform/foundation/Bundle.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/input/NSEvent.hpp"
#include "platform/input/ProcessInfo.hpp"
#include "shortcuts/Name.hpp"
#include "shortcuts/ShortcutDisplay.hpp"
#include "snapping/RoriDeru.hpp"
#include "snapping/SnapBarController.hpp"
#include "snapping/SnapIconFactory.hpp"
#include "windows/ScreenIdentity.hpp"

#include <cctype>
#include <cmath>

namespace tilmora {

namespace {

using platform::ui::Menu;
using platform::ui::MenuItem;
using K = SnapIconKind;

// The catalog name of a command name written as a function ("snapLeftHalf" -> "snap-left-half",
// "grid1x2" -> "grid-1x2").
const GlobalShortcuts::Name* catalogName(std::string_view function) {
    std::string raw;
    for (std::size_t i = 0; i < function.size(); ++i) {
        const char c = function[i];
        const bool upper = std::isupper(static_cast<unsigned char>(c)) != 0;
        const bool digitAfterLetter = std::isdigit(static_cast<unsigned char>(c)) != 0 && i > 0 &&
                                      std::isalpha(static_cast<unsigned char>(function[i - 1])) != 0;
        if (upper || digitAfterLetter) raw += '-';
        raw += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    for (const auto& name : GlobalShortcuts::Name::catalog()) {
        if (name.get().rawValue == raw) return &name.get();
    }
    return nullptr;
}

// The title with the stored chord's glyphs after a TAB, or the bare title.
std::string withHint(const std::string& title, std::string_view shortcut) {
    if (shortcut.empty()) return title;
    const auto* name = catalogName(shortcut);
    if (!name) return title;
    const auto chord = name->shortcut();
    return chord ? title + "\t" + ShortcutDisplay::describe(*chord) : title;
}

struct RectRow {
    const char* key;
    const char* action;
    const char* shortcut;
    std::optional<SnapIconKind> kind;
};

struct GridRow {
    const char* key;
    SnapIconKind kind;
    int rows;
    int cols;
    const char* shortcut;
};

// nullptr key: a separator.
const std::vector<RectRow>& windowCommandRows() {
    static const std::vector<RectRow> rows = {
        {"menu.leftHalf", "snapLeftHalf", "snapLeftHalf", K::leftHalf},
        {"menu.rightHalf", "snapRightHalf", "snapRightHalf", K::rightHalf},
        {"menu.centerHalf", "snapCenterHalf", "snapCenterHalf", K::centerHalf},
        {"menu.topHalf", "snapTopHalf", "snapTopHalf", K::topHalf},
        {"menu.bottomHalf", "snapBottomHalf", "snapBottomHalf", K::bottomHalf},
        {nullptr, nullptr, nullptr, std::nullopt},
        {"menu.topLeft", "snapTopLeft", "snapTopLeft", K::topLeft},
        {"menu.topRight", "snapTopRight", "snapTopRight", K::topRight},
        {"menu.bottomLeft", "snapBottomLeft", "snapBottomLeft", K::bottomLeft},
        {"menu.bottomRight", "snapBottomRight", "snapBottomRight", K::bottomRight},
        {nullptr, nullptr, nullptr, std::nullopt},
        {"menu.firstThird", "snapLeftThird", "snapLeftThird", K::leftThird},
        {"menu.centerThird", "snapMiddleThird", "snapMiddleThird", K::middleThird},
        {"menu.lastThird", "snapRightThird", "snapRightThird", K::rightThird},
        {"menu.firstTwoThirds", "snapLeftTwoThirds", "snapLeftTwoThirds", K::leftTwoThirds},
        {"menu.centerTwoThirds", "snapCenterTwoThirds", "snapCenterTwoThirds", K::centerTwoThirds},
        {"menu.centerThreeFourths", "snapCenterThreeFourths", "snapCenterThreeFourths", K::centerThreeFourths},
        {"menu.lastTwoThirds", "snapRightTwoThirds", "snapRightTwoThirds", K::rightTwoThirds},
        {nullptr, nullptr, nullptr, std::nullopt},
        {"menu.fullScreen", "snapMaximize", "snapMaximize", K::maximize},
        {"menu.almostFullScreen", "snapAlmostMaximise", "snapAlmostMaximize", K::almostMaximize},
        {"menu.fullScreenHeight", "snapMaximizeHeight", "snapMaximizeHeight", std::nullopt},
        {"menu.smaller", "snapSmaller", "snapSmaller", std::nullopt},
        {"menu.larger", "snapLarger", "snapLarger", std::nullopt},
        {"menu.center", "snapCenter", "snapCenter", K::center},
        {"menu.restoreOriginal", "snapRestoreLast", "snapRestore", std::nullopt},
        {"menu.restoreLastLayout", "snapRestoreLastLayout", "", std::nullopt},
        {nullptr, nullptr, nullptr, std::nullopt},
        {"menu.nextDisplay", "snapNextDisplay", "nextDisplay", std::nullopt},
        {"menu.previousDisplay", "snapPreviousDisplay", "previousDisplay", std::nullopt},
    };
    return rows;
}

const std::vector<GridRow>& gridRows() {
    static const std::vector<GridRow> rows = {
        {"menu.grid1x2", K::grid1x2, 1, 2, "grid1x2"}, {"menu.grid1x3", K::grid1x3, 1, 3, "grid1x3"},
        {"menu.grid2x1", K::grid2x1, 2, 1, "grid2x1"}, {"menu.grid3x1", K::grid3x1, 3, 1, "grid3x1"},
        {"menu.grid2x2", K::grid2x2, 2, 2, "grid2x2"}, {"menu.grid3x3", K::grid3x3, 3, 3, "grid3x3"},
        {"menu.grid4x4", K::grid4x4, 4, 4, "grid4x4"}, {"menu.grid6x4", K::grid6x4, 6, 4, "grid6x4"},
        {"menu.grid8x2", K::grid8x2, 8, 2, "grid8x2"},
    };
    return rows;
}

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

    // Table A: the command block.
    auto& defaults = this->defaults();
    auto showManager = add(*menu, withHint(localized("menu.showSnapshotManager"), "showSnapshotManager"), "showWindow");
    showManager->keyEquivalent = "O";
    showManager->keyEquivalentModifierMask = platform::ModifierFlags::command;
    separator(*menu);
    check(add(*menu, withHint(localized("menu.showSnapBar"), "toggleSnapBar"), "toggleSnapBar:"),
          defaults.boolForKey("WMSnapBarVisible"));
    check(add(*menu, withHint(localized(grid.isSnappingEnabled() ? "menu.stopSnapping" : "menu.startSnapping"), "toggleSnapping"),
              "toggleSnapping:"),
          grid.isSnappingEnabled());
    check(add(*menu, localized("menu.keyboardShortcuts"), "toggleKeyboardShortcutsEnabled:"), isKeyboardShortcutsEnabled());
    const bool allDisplays = defaults.boolForKey("WMGridAllDisplays");
    auto single = add(*menu, localized("menu.layoutActiveDisplay"), "setLayoutScopeSingle:");
    check(single, !allDisplays);
    tip(single, "menu.help.layoutActiveDisplay");
    auto all = add(*menu, localized("menu.layoutAllDisplays"), "setLayoutScopeAll:");
    check(all, allDisplays);
    tip(all, "menu.help.layoutAllDisplays");
    auto gridLines = add(*menu, localized("prefs.showGridLines"), "toggleGridLines:");
    check(gridLines, defaults.boolForKey("WMShowGridLinesDuringDrag"));
    tip(gridLines, "menu.help.showGridLines");
    add(*menu, localized("menu.layoutEditor"), "openVeskLayoutEditor:");
    tip(add(*menu, localized("menu.resetWindowsForApp"), "resetAllSnappedWindows:"), "menu.help.resetWindows");
    separator(*menu);
    auto stage = add(*menu, withHint(localized("menu.integrateStageManager"), "toggleIntegrateStageManager"),
                     "toggleIntegrateStageManager:");
    check(stage, defaults.boolForKey("WMIntegrateStageManager"));
    tip(stage, "menu.help.integrateStageManager");
    auto mission = add(*menu, withHint(localized("menu.integrateMissionControl"), "toggleIntegrateMissionControl"),
                       "toggleIntegrateMissionControl:");
    check(mission, defaults.boolForKey("WMIntegrateMissionControl"));
    tip(mission, "menu.help.integrateMissionControl");

    const auto screen = menuContextScreen(preferredScreen);
    std::optional<SnapIconKind> selected;
    if (screen) selected = grid.selectedKind(screen);
    const bool applies = screen ? grid.selectedKindApplies(screen) : false;
    if (defaults.boolForKey("WMVerboseLogging")) {
        print("[Menu][PRESET] Rebuilding menu requested=" + (preferredScreen ? preferredScreen->localizedName() : "nil") +
              " target=" + (screen ? screen->localizedName() : "nil") +
              " selected=" + (selected ? std::string(caseName(*selected)) : "nil") + " applies=" + (applies ? "true" : "false"));
    }
    auto iconFor = [](SnapIconKind kind) { return SnapIconFactory::image(kind, {16, 16}); };

    // Table B: window commands.
    for (const auto& row : windowCommandRows()) {
        if (!row.key) {
            separator(*menu);
            continue;
        }
        auto item = add(*menu, withHint(localized(row.key), row.shortcut), row.action);
        if (row.kind) {
            item->image = iconFor(*row.kind);
            item->representedObject = *row.kind;
            check(item, !suppress && screen && selected == row.kind && applies);
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

    // Table C: submenus.
    auto edges = Menu::make();
    for (const auto& [key, action] : std::vector<std::pair<const char*, const char*>>{
             {"menu.moveLeftEdge", "moveToEdgeLeft"}, {"menu.moveRightEdge", "moveToEdgeRight"},
             {"menu.moveUpEdge", "moveToEdgeUp"}, {"menu.moveDownEdge", "moveToEdgeDown"}}) {
        add(*edges, withHint(localized(key), action), action);
    }
    add(*menu, localized("menu.moveToEdge"), "")->setSubmenu(edges);
    auto kindSubmenu = [&](const char* headerKey, const std::vector<std::pair<const char*, SnapIconKind>>& items) {
        auto submenu = Menu::make();
        for (const auto& [key, kind] : items) {
            auto item = add(*submenu, withHint(localized(key), caseName(kind)), "snapFromMenuItem:");
            item->image = iconFor(kind);
            item->representedObject = kind;
        }
        add(*menu, localized(headerKey), "")->setSubmenu(submenu);
    };
    kindSubmenu("menu.quarters", {{"menu.firstQuarter", K::firstQuarter},
                                  {"menu.secondQuarter", K::secondQuarter},
                                  {"menu.thirdQuarter", K::thirdQuarter},
                                  {"menu.lastQuarter", K::lastQuarter},
                                  {"menu.firstThreeQuarters", K::firstThreeQuarters},
                                  {"menu.lastThreeQuarters", K::lastThreeQuarters}});
    kindSubmenu("menu.sixths", {{"menu.topLeftSixth", K::topLeftSixth},
                                {"menu.topCenterSixth", K::topCenterSixth},
                                {"menu.topRightSixth", K::topRightSixth},
                                {"menu.bottomLeftSixth", K::bottomLeftSixth},
                                {"menu.bottomCenterSixth", K::bottomCenterSixth},
                                {"menu.bottomRightSixth", K::bottomRightSixth}});
    separator(*menu);

    // Table D: grid presets.
    for (const auto& row : gridRows()) {
        RoriDeru::Preset preset;
        preset.rows = std::max(row.rows, 1);
        preset.cols = std::max(row.cols, 1);
        preset.gutter = 0;
        preset.padding = 0;
        auto item = add(*menu, withHint(localized(row.key), row.shortcut), "selectGridPreset:");
        item->image = iconFor(row.kind);
        item->representedObject = preset;
        check(item, !suppress && screen && !applies && grid.shouldMarkGridPreset(preset, screen));
    }
    addVeskPresetMenuSection(*menu, screen);

    // Table E: the tail.
    auto preferences = add(*menu, withHint(localized("menu.preferences"), "openPreferences"), "openPreferences:");
    preferences->keyEquivalent = ",";
    preferences->keyEquivalentModifierMask = platform::ModifierFlags::command;
    auto advanced = Menu::make();
    auto help = add(*advanced, withHint(localized("menu.help"), "openHelp"), "openHelp:");
    help->keyEquivalent = "/";
    help->keyEquivalentModifierMask = platform::ModifierFlags::command | platform::ModifierFlags::shift;
    separator(*advanced);
    bool launchAtLogin = false;
    if (platform::ProcessInfo::processInfo().isOperatingSystemAtLeast({13, 0, 0})) {
        const auto status = platform::SMAppService::mainApp().status();
        launchAtLogin = status == platform::SMAppService::Status::enabled ||
                        status == platform::SMAppService::Status::requiresApproval;
    } else {
        launchAtLogin = isLaunchAtStartupEnabled();
    }
    check(add(*advanced, localized("menu.launchAtLogin"), "toggleLaunchAtStartup:"), launchAtLogin);
    if (defaults.boolForKey("MinimalMenuMode")) {
        add(*menu, localized("menu.advanced"), "")->setSubmenu(advanced);
    } else {
        for (const auto& item : advanced->items()) menu->addItem(item->copy());
        separator(*menu);
    }
    auto quit = add(*menu, withHint(platform::Text::format(localized("menu.quitApp"), {displayName}), "quitApp"), "quitApp");
    quit->keyEquivalent = "Q";
    quit->keyEquivalentModifierMask = platform::ModifierFlags::command;
    return menu;
}

void AppDelegate::rebuildStatusMenu(const std::optional<platform::NSScreen>& preferredScreen) {
    cachedStatusMenu = createMenu(preferredScreen);
}

void AppDelegate::statusBarButtonClicked(platform::ui::Responder* sender) {
    if (snapBarController) snapBarController->hide();
    std::optional<platform::NSScreen> screen;
    if (auto* button = dynamic_cast<platform::ui::StatusBarButton*>(sender)) {
        if (auto* window = button->window()) screen = window->screen();
    }
    if (defaults().boolForKey("WMVerboseLogging")) {
        print("[Menu] Status item clicked from screen=" + (screen ? screen->localizedName() : "nil"));
    }
    cachedStatusMenu = createMenu(screen);
    if (statusItem) statusItem->popUpStatusItemMenu(cachedStatusMenu);
}

void AppDelegate::menuWillOpen(platform::ui::Menu&) {
    if (snapBarController) snapBarController->hide();
}

void AppDelegate::menuDidClose(platform::ui::Menu&) {
    if (!defaults().boolForKey("WMSnapBarVisible")) return;
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
    if (snapBarController) snapBarController->show(screen, strong());
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
