#include "shell/AppDelegate.hpp"

#include "model/LayoutStoreVesk.hpp"
#include "model/Log.hpp"
#include "model/Settings.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "shell/SnappingSwitch.hpp"
#include "shortcuts/DefaultShortcuts.hpp"
#include "shortcuts/Registry.hpp"
#include "snapping/RoriDeru.hpp"
#include "snapping/SnapBarController.hpp"
#include "windows/ScreenIdentity.hpp"
#include "windows/StageIntegration.hpp"

#include <algorithm>

namespace tilmora {

// ---- Snap bar ---------------------------------------------------------------------------------

void AppDelegate::ensureSnapBarController() {
    if (snapBarController_) return;
    auto controller = std::make_shared<SnapBarController>(roriDeru());
    const std::weak_ptr<AppDelegate> weakSelf = weak();
    controller->veskTilePresetsProvider = [weakSelf](const platform::NSScreen& screen) {
        std::vector<VeskPreset> tiles;
        auto self = weakSelf.lock();
        if (!self) return tiles;
        for (auto& preset : veskPresets(*self->layoutStore(), DisplayId(tlm_identifierString(screen)))) {
            if (preset.kind == VeskPresetKind::singleTile) tiles.push_back(std::move(preset));
        }
        return tiles;
    };
    snapBarController_ = controller;
}

void AppDelegate::toggleSnapBar(platform::ui::Responder*) {
    const bool wasVisible = defaults().boolForKey(settings::snapBarVisible.key);
    defaults().set(!wasVisible, settings::snapBarVisible.key);
    print(std::string("[UI] Toggle Snap Bar -> ") + (wasVisible ? "HIDE" : "SHOW"));
    ensureSnapBarController();
    if (!wasVisible) {
        snapBarController_->show(platform::NSScreen::main(), strong());
    } else {
        snapBarController_->hide();
    }
    rebuildStatusMenu();
}

void AppDelegate::disableSnapBarFromCloseButton() {
    defaults().set(false, settings::snapBarVisible.key);
    if (snapBarController_) snapBarController_->hide();
    rebuildStatusMenu();
}

// ---- Snapping and the snap selection ---------------------------------------------------------

void AppDelegate::toggleSnapping(platform::ui::Responder*) {
    auto& grid = roriDeru();
    if (grid.isSnappingEnabled()) {
        switchSnappingOff(grid, SelectionOnSnappingOff::clearedWithoutMenuSelection);
        clearVeskSelection(platform::NSScreen::screens());
    } else {
        grid.setSnappingEnabled(true);
    }
    if (snapBarController_) snapBarController_->refreshIndicators();
    rebuildStatusMenu();
}

void AppDelegate::resetSnapSelection(platform::ui::Responder*) {
    auto& grid = roriDeru();
    grid.suppressMenuSelectionOnce();
    grid.clearAllRectSelections();
    grid.clearGridPresetMarking(true);
    clearVeskSelection(platform::NSScreen::screens());
    if (snapBarController_) snapBarController_->refreshSelectionHighlight();
    rebuildStatusMenu();
}

void AppDelegate::toggleStageReserve(platform::ui::Responder*) { print("[UI] Stage Reserve is no longer available."); }

namespace {

void flipIntegration(platform::UserDefaults& defaults, const std::string& key) {
    defaults.set(!defaults.boolForKey(key), key);
    platform::NotificationCenter::defaultCenter().post(StageIntegration::stateDidChange, nullptr);
}

} // namespace

void AppDelegate::toggleIntegrateStageManager(platform::ui::Responder*) {
    flipIntegration(defaults(), settings::integrateStageManager.key);
}

void AppDelegate::toggleIntegrateMissionControl(platform::ui::Responder*) {
    flipIntegration(defaults(), settings::integrateMissionControl.key);
}

// ---- The keyboard-shortcut master switch -----------------------------------------------------

const std::vector<GlobalShortcuts::Name>& AppDelegate::allKeyboardShortcutNames() {
    static const std::vector<GlobalShortcuts::Name> names = [] {
        std::vector<GlobalShortcuts::Name> list;
        for (const auto& name : GlobalShortcuts::Name::catalog()) list.push_back(name.get());
        return list;
    }();
    return names;
}

bool AppDelegate::isKeyboardShortcutsEnabled() const {
    const auto value = defaults().objectForKey(keyboardShortcutsEnabledKey);
    if (value && value->asBool()) return *value->asBool();
    return true;
}

void AppDelegate::applyKeyboardShortcutsEnabledState() {
    if (isApplyingKeyboardShortcutsState_) return;
    isApplyingKeyboardShortcutsState_ = true;
    // The guard comes down however the pass ends, so a failed pass does not lock the switch.
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{isApplyingKeyboardShortcutsState_};
    const bool enabled = isKeyboardShortcutsEnabled();
    for (const auto& name : allKeyboardShortcutNames()) {
        if (enabled) {
            GlobalShortcuts::enable({name});
        } else {
            GlobalShortcuts::disable({name});
        }
    }
    if (enabled) logChordConflicts();
}

void AppDelegate::logChordConflicts() {
    // The names of each stored chord, in catalog order.
    std::vector<std::pair<GlobalShortcuts::Shortcut, std::vector<const GlobalShortcuts::Name*>>> chords;
    for (const auto& name : allKeyboardShortcutNames()) {
        const auto chord = GlobalShortcuts::getShortcut(name);
        if (!chord) continue;
        auto it = std::find_if(chords.begin(), chords.end(), [&](const auto& entry) { return entry.first == *chord; });
        if (it == chords.end()) it = chords.insert(chords.end(), {*chord, {}});
        it->second.push_back(&name);
    }
    for (const auto& entry : chords) {
        const auto& chord = entry.first;
        const auto& names = entry.second;
        if (names.size() < 2) continue;
        const bool sharedDefault = std::all_of(names.begin(), names.end(), [&chord](const GlobalShortcuts::Name* name) {
            return firstRunShortcut(*name) == chord;
        });
        if (sharedDefault) continue;
        std::string list;
        for (const auto* name : names) list += (list.empty() ? "" : ", ") + name->rawValue;
        const std::string line = "[Shortcuts] Conflict: " + chord.presentableDescription() + " is stored for " + list +
                                 "; each press runs all of them";
        if (loggedChordConflicts_.insert(line).second) print(line);
    }
}

void AppDelegate::setKeyboardShortcutsEnabled(bool enabled) {
    defaults().set(enabled, keyboardShortcutsEnabledKey);
    applyKeyboardShortcutsEnabledState();
    rebuildStatusMenu();
}

void AppDelegate::toggleKeyboardShortcutsEnabled(platform::ui::Responder*) {
    defaults().set(!isKeyboardShortcutsEnabled(), keyboardShortcutsEnabledKey);
    applyKeyboardShortcutsEnabledState();
    rebuildStatusMenu();
}

} // namespace tilmora
