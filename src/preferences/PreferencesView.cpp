#include "preferences/PreferencesView.hpp"

#include "model/DisplayLayoutMemory.hpp"
#include "model/LocalizationManager.hpp"
#include "model/Log.hpp"
#include "model/Settings.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/foundation/Bundle.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/ui/Window.hpp"
#include "preferences/RoriDeruSnapGrid.hpp"
#include "shell/SnappingSwitch.hpp"
#include "windows/StageIntegration.hpp"
#include "windows/WindowManager.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tilmora {

namespace decl = platform::ui::declarative;
using platform::PropertyValue;
using platform::UserDefaults;

namespace {

UserDefaults& defaults() {
    return UserDefaults::standard();
}

// Reads the stored object when it is a Boolean, else the fallback.
bool objectBool(const std::string& key, bool fallback) {
    auto value = defaults().objectForKey(key);
    if (value && value->asBool()) return *value->asBool();
    return fallback;
}

// Reads the stored object when it is a number (not a Boolean), else none.
std::optional<double> objectDouble(const std::string& key) {
    auto value = defaults().objectForKey(key);
    if (!value) return std::nullopt;
    if (auto* d = value->asDouble()) return *d;
    if (auto* i = value->asInteger()) return static_cast<double>(*i);
    return std::nullopt;
}

std::string storedLanguage() {
    return defaults().stringForKey(LocalizationManager::shared().key).value_or("");
}

std::vector<std::string> initialLanguageCodes() {
    auto codes = LocalizationManager::shared().availableLanguages();
    return codes.empty() ? PreferencesView::fallbackLanguageCodes() : codes;
}

// Runs `step` with the installed shell; logs and skips it when there is none.
void withShell(const char* what, const std::function<void(PreferencesShell&)>& step) {
    if (auto shell = PreferencesShell::installed()) {
        step(*shell);
        return;
    }
    print(std::string("[Preferences] No application shell; skipped ") + what);
}

void rebuildMenu() {
    withShell("the status-menu rebuild", [](PreferencesShell& s) { s.rebuildStatusMenu(); });
}

void nextTurn(std::function<void()> block) {
    platform::DispatchQueue::main().async(std::move(block));
}

void postStageChange() {
    platform::NotificationCenter::defaultCenter().post(StageIntegration::stateDidChange, nullptr);
}

} // namespace

const std::vector<std::string>& PreferencesView::fallbackLanguageCodes() {
    static const std::vector<std::string> codes = {"en", "de", "es", "fr", "it", "ja", "zh-Hans"};
    return codes;
}

PreferencesView::PreferencesView()
    : verboseLogging(this, objectBool(settings::verboseLogging.key, false))
    , strictRestore(this, objectBool(settings::strictRestore.key, false))
    , captureRule(this, defaults().stringForKey(settings::capturePrimaryRule.key).value_or("center"))
    , minimalMenuMode(this, objectBool("MinimalMenuMode", false))
    , useCursorDisplay(this, objectBool(settings::useCursorDisplay.key, false))
    , magnetDragMode(this, objectBool(settings::magnetDragMode.key, false))
    , dragRequireOption(this, objectBool(settings::dragRequireOption.key, false))
    , snapBarVisible(this, defaults().boolForKey(settings::snapBarVisible.key))
    , gapSize(this, objectDouble(settings::gapSize.key).value_or(0))
    , gapH(
          this,
          objectDouble(settings::gapHorizontal.key).value_or(objectDouble(settings::gapSize.key).value_or(0)))
    , gapV(this,
           objectDouble(settings::gapVertical.key).value_or(objectDouble(settings::gapSize.key).value_or(0)))
    , gapsIncludeEdges(this, objectBool(settings::gapsIncludeScreenEdges.key, false))
    , gapEdgeLeft(this, objectBool(settings::gapsEdgesLeft.key, false))
    , gapEdgeRight(this, objectBool(settings::gapsEdgesRight.key, false))
    , gapEdgeTop(this, objectBool(settings::gapsEdgesTop.key, false))
    , gapEdgeBottom(this, objectBool(settings::gapsEdgesBottom.key, false))
    , selectedLanguageCode(this, storedLanguage())
    , languageCodes(this, initialLanguageCodes())
    , integrateStageManager(this, defaults().boolForKey(settings::integrateStageManager.key))
    , autoDetectStageManager(this, defaults().boolForKey(settings::autoDetectStageManager.key))
    , integrateMissionControl(this, defaults().boolForKey(settings::integrateMissionControl.key))
    , autoHideWithMC(this, defaults().boolForKey(settings::autoHideSnapBarWithMissionControl.key))
    , autoHideWithSM(this, defaults().boolForKey(settings::autoHideSnapBarWithStageManager.key))
    , stageReserveLeft(this, objectDouble(settings::stageReserveLeftWidth.key).value_or(0))
    , snappingEnabled(this, objectBool(settings::snappingEnabled.key, true))
    , keyboardShortcutsEnabled(this, objectBool(settings::keyboardShortcutsEnabled.key, true))
    , uiReady(this, false)
    , snapshotAllSpaces(this, defaults().boolForKey(settings::snapshotAllSpaces.key))
    , spacesKillSwitch(this, objectBool(settings::spacesKillSwitch.key, false))
    , spacesDiagnostics(this, objectBool(settings::spacesLogDiagnostics.key, false))
    , layoutAllDisplays(this, defaults().boolForKey(settings::gridAllDisplays.key))
    , autoResetSnapshotQuit(this, objectBool(settings::autoResetSnapshotQuit.key, true))
    , autoApplyDisplayLayouts(this, objectBool(settings::autoApplyDisplayLayouts.key, true))
    , preserveRelativeSizing(this, objectBool(settings::preserveRelativeMove.key, true))
    , localizationVersion(this, 0) {
    // What construction read is what the form has seen.
    followDefaults();
}

bool PreferencesView::storedValueChanged(const std::string& key) {
    auto now = defaults().objectForKey(key);
    auto [entry, added] = seen_.values.try_emplace(key, now);
    if (added) return false;
    if (entry->second == now) return false;
    entry->second = std::move(now);
    return true;
}

void PreferencesView::followDefaults() {
    const auto follow = [this](const std::string& key, auto& state, auto read) {
        if (!storedValueChanged(key)) return;
        auto value = read();
        if (state.get() != value) state.set(value);
    };
    const auto flag = [&follow](const std::string& key, decl::State<bool>& state, bool fallback) {
        follow(key, state, [&key, fallback] { return objectBool(key, fallback); });
    };
    const auto boolean = [&follow](const std::string& key, decl::State<bool>& state) {
        follow(key, state, [&key] { return defaults().boolForKey(key); });
    };
    flag(settings::verboseLogging.key, verboseLogging, false);
    flag(settings::strictRestore.key, strictRestore, false);
    follow(settings::capturePrimaryRule.key, captureRule,
           [] { return defaults().stringForKey(settings::capturePrimaryRule.key).value_or("center"); });
    flag("MinimalMenuMode", minimalMenuMode, false);
    flag(settings::useCursorDisplay.key, useCursorDisplay, false);
    flag(settings::magnetDragMode.key, magnetDragMode, false);
    flag(settings::dragRequireOption.key, dragRequireOption, false);
    boolean(settings::snapBarVisible.key, snapBarVisible);
    // The two directional gaps fall back to the uniform one, so they follow it too.
    const bool sizeChanged = storedValueChanged(settings::gapSize.key);
    const auto gap = [sizeChanged](const std::string& key, decl::State<double>& state, bool ownChanged) {
        if (!sizeChanged && !ownChanged) return;
        const double value = objectDouble(key).value_or(objectDouble(settings::gapSize.key).value_or(0));
        if (!(state.get() == value)) state.set(value);
    };
    gap(settings::gapSize.key, gapSize, false);
    gap(settings::gapHorizontal.key, gapH, storedValueChanged(settings::gapHorizontal.key));
    gap(settings::gapVertical.key, gapV, storedValueChanged(settings::gapVertical.key));
    flag(settings::gapsIncludeScreenEdges.key, gapsIncludeEdges, false);
    flag(settings::gapsEdgesLeft.key, gapEdgeLeft, false);
    flag(settings::gapsEdgesRight.key, gapEdgeRight, false);
    flag(settings::gapsEdgesTop.key, gapEdgeTop, false);
    flag(settings::gapsEdgesBottom.key, gapEdgeBottom, false);
    boolean(settings::integrateStageManager.key, integrateStageManager);
    boolean(settings::autoDetectStageManager.key, autoDetectStageManager);
    boolean(settings::integrateMissionControl.key, integrateMissionControl);
    boolean(settings::autoHideSnapBarWithMissionControl.key, autoHideWithMC);
    boolean(settings::autoHideSnapBarWithStageManager.key, autoHideWithSM);
    follow(settings::stageReserveLeftWidth.key, stageReserveLeft,
           [] { return objectDouble(settings::stageReserveLeftWidth.key).value_or(0); });
    flag(settings::snappingEnabled.key, snappingEnabled, true);
    flag(settings::keyboardShortcutsEnabled.key, keyboardShortcutsEnabled, true);
    boolean(settings::snapshotAllSpaces.key, snapshotAllSpaces);
    flag(settings::spacesKillSwitch.key, spacesKillSwitch, false);
    flag(settings::spacesLogDiagnostics.key, spacesDiagnostics, false);
    boolean(settings::gridAllDisplays.key, layoutAllDisplays);
    flag(settings::autoResetSnapshotQuit.key, autoResetSnapshotQuit, true);
    flag(settings::autoApplyDisplayLayouts.key, autoApplyDisplayLayouts, true);
    flag(settings::preserveRelativeMove.key, preserveRelativeSizing, true);
    // A language stored elsewhere (another program, the defaults tool) posts no language notice:
    // the form follows it as it follows one. A change made here already shows.
    if (storedValueChanged(LocalizationManager::shared().key) && storedLanguage() != selectedLanguageCode.get())
        onLanguageDidChange();
}

std::shared_ptr<PreferencesSnapGrid> PreferencesView::snapGrid() const {
    if (auto grid = environment<std::shared_ptr<PreferencesSnapGrid>>(snapGridEnvironmentKey)) return grid;
    return RoriDeruSnapGrid::shared();
}

std::string PreferencesView::text(const std::string& key) const {
    // Reading the language values makes every text follow a language change.
    (void)selectedLanguageCode.get();
    (void)localizationVersion.get();
    return LocalizationManager::shared().localizedString(key);
}

// The change actions of the check boxes. A8 writes at once; the others run on the next turn of
// the main queue, those that reach the snap grid or the display layouts with what this view has
// in its environment now.
std::function<void(bool)> PreferencesView::action(const std::string& key) {
    static const std::vector<std::string> now = {
        settings::gapsIncludeScreenEdges.key, settings::gapsEdgesLeft.key,
        settings::gapsEdgesRight.key,         settings::gapsEdgesTop.key,
        settings::gapsEdgesBottom.key,        settings::snapshotAllSpaces.key,
        settings::spacesKillSwitch.key,       settings::spacesLogDiagnostics.key,
        settings::autoResetSnapshotQuit.key};
    static const std::vector<std::string> stage = {
        settings::integrateStageManager.key, settings::autoDetectStageManager.key,
        settings::integrateMissionControl.key, settings::autoHideSnapBarWithMissionControl.key,
        settings::autoHideSnapBarWithStageManager.key};
    auto contains = [](const std::vector<std::string>& keys, const std::string& k) {
        return std::find(keys.begin(), keys.end(), k) != keys.end();
    };
    if (contains(now, key)) return [key](bool on) { defaults().set(PropertyValue(on), key); };
    if (contains(stage, key))
        return [key](bool on) {
            nextTurn([key, on] {
                defaults().set(PropertyValue(on), key);
                postStageChange();
            });
        };
    if (key == settings::verboseLogging.key)
        return [](bool on) {
            nextTurn([on] {
                defaults().set(PropertyValue(on), settings::verboseLogging.key);
                WindowManager::setVerboseLogging(on);
            });
        };
    if (key == "MinimalMenuMode")
        return [](bool on) {
            nextTurn([on] {
                defaults().set(PropertyValue(on), "MinimalMenuMode");
                rebuildMenu();
            });
        };
    if (key == settings::magnetDragMode.key || key == settings::dragRequireOption.key)
        return [this, key](bool on) {
            auto grid = snapGrid();
            nextTurn([grid, key, on] {
                defaults().set(PropertyValue(on), key);
                if (key == settings::magnetDragMode.key)
                    grid->setMagnetMode(on);
                else
                    grid->setDragRequireOption(on);
            });
        };
    if (key == settings::snapBarVisible.key)
        return [](bool on) {
            nextTurn([on] {
                if (defaults().boolForKey(settings::snapBarVisible.key) != on)
                    withShell("the snap-bar toggle", [](PreferencesShell& s) { s.toggleSnapBar(); });
                else
                    defaults().set(PropertyValue(on), settings::snapBarVisible.key);
                withShell("the snap-bar refresh", [](PreferencesShell& s) { s.refreshSnapBarIndicators(); });
                rebuildMenu();
            });
        };
    if (key == settings::snappingEnabled.key)
        return [this](bool on) {
            auto grid = snapGrid();
            nextTurn([grid, on] {
                defaults().set(PropertyValue(on), settings::snappingEnabled.key);
                if (on) {
                    grid->setSnappingEnabled(true);
                    grid->startMonitoringIfNeeded();
                } else {
                    switchSnappingOff(*grid, SelectionOnSnappingOff::clearedWithoutMenuSelection);
                }
                withShell("the snap-bar refresh", [](PreferencesShell& s) { s.refreshSnapBarIndicators(); });
                rebuildMenu();
            });
        };
    if (key == settings::keyboardShortcutsEnabled.key)
        return [](bool on) {
            nextTurn([on] {
                withShell("the shortcut switch", [on](PreferencesShell& s) {
                    defaults().set(PropertyValue(on), s.keyboardShortcutsEnabledKey());
                    s.applyKeyboardShortcutsEnabledState();
                    s.rebuildStatusMenu();
                });
            });
        };
    if (key == settings::gridAllDisplays.key)
        return [](bool on) {
            nextTurn([on] {
                defaults().set(PropertyValue(on), settings::gridAllDisplays.key);
                withShell("the layout-scope change",
                          [](PreferencesShell& s) { s.layoutScopePreferenceDidChange(); });
            });
        };
    if (key == settings::autoApplyDisplayLayouts.key)
        return [this](bool on) {
            auto store = environment<std::shared_ptr<DisplayLayoutMemory>>(displayLayoutStoreEnvironmentKey);
            nextTurn([store, on] {
                defaults().set(PropertyValue(on), settings::autoApplyDisplayLayouts.key);
                if (on) (store ? *store : DisplayLayoutMemory::shared()).applyStoredConfiguration(true);
            });
        };
    // `settings::strictRestore`, `settings::useCursorDisplay`, `settings::preserveRelativeMove`.
    return [key](bool on) { nextTurn([key, on] { defaults().set(PropertyValue(on), key); }); };
}

void PreferencesView::reloadFromDefaults() {
    auto allSpaces = snapshotAllSpaces.binding();
    auto killSwitch = spacesKillSwitch.binding();
    auto diagnostics = spacesDiagnostics.binding();
    auto integrateSM = integrateStageManager.binding();
    auto detectSM = autoDetectStageManager.binding();
    auto integrateMC = integrateMissionControl.binding();
    auto hideMC = autoHideWithMC.binding();
    auto hideSM = autoHideWithSM.binding();
    auto reserve = stageReserveLeft.binding();
    nextTurn([=] {
        auto& d = defaults();
        allSpaces.set(d.boolForKey(settings::snapshotAllSpaces.key));
        killSwitch.set(objectBool(settings::spacesKillSwitch.key, false));
        diagnostics.set(objectBool(settings::spacesLogDiagnostics.key, false));
        integrateSM.set(d.boolForKey(settings::integrateStageManager.key));
        detectSM.set(d.boolForKey(settings::autoDetectStageManager.key));
        integrateMC.set(d.boolForKey(settings::integrateMissionControl.key));
        hideMC.set(d.boolForKey(settings::autoHideSnapBarWithMissionControl.key));
        hideSM.set(d.boolForKey(settings::autoHideSnapBarWithStageManager.key));
        reserve.set(objectDouble(settings::stageReserveLeftWidth.key).value_or(0));
    });
}

void PreferencesView::savePrefsAndApply() {
    auto& d = defaults();
    d.set(PropertyValue(verboseLogging.get()), settings::verboseLogging.key);
    d.set(PropertyValue(strictRestore.get()), settings::strictRestore.key);
    d.set(PropertyValue(captureRule.get()), settings::capturePrimaryRule.key);
    d.set(PropertyValue(minimalMenuMode.get()), "MinimalMenuMode");
    d.set(PropertyValue(snapBarVisible.get()), settings::snapBarVisible.key);
    d.set(PropertyValue(useCursorDisplay.get()), settings::useCursorDisplay.key);
    d.set(PropertyValue(magnetDragMode.get()), settings::magnetDragMode.key);
    d.set(PropertyValue(dragRequireOption.get()), settings::dragRequireOption.key);
    d.set(PropertyValue(keyboardShortcutsEnabled.get()), settings::keyboardShortcutsEnabled.key);
    d.set(PropertyValue(gapSize.get()), settings::gapSize.key);
    d.set(PropertyValue(gapH.get()), settings::gapHorizontal.key);
    d.set(PropertyValue(gapV.get()), settings::gapVertical.key);
    d.set(PropertyValue(gapsIncludeEdges.get()), settings::gapsIncludeScreenEdges.key);
    d.set(PropertyValue(gapEdgeLeft.get()), settings::gapsEdgesLeft.key);
    d.set(PropertyValue(gapEdgeRight.get()), settings::gapsEdgesRight.key);
    d.set(PropertyValue(gapEdgeTop.get()), settings::gapsEdgesTop.key);
    d.set(PropertyValue(gapEdgeBottom.get()), settings::gapsEdgesBottom.key);
    WindowManager::setVerboseLogging(verboseLogging.get());
    auto grid = snapGrid();
    grid->setMagnetMode(magnetDragMode.get());
    grid->setDragRequireOption(dragRequireOption.get());
    bool shortcutsOn = keyboardShortcutsEnabled.get();
    nextTurn([shortcutsOn] {
        withShell("the shortcut switch", [shortcutsOn](PreferencesShell& s) {
            defaults().set(PropertyValue(shortcutsOn), s.keyboardShortcutsEnabledKey());
            s.applyKeyboardShortcutsEnabledState();
            s.rebuildStatusMenu();
        });
    });
}

void PreferencesView::closeWindow() {
    // The window showing this view, also when another window is key.
    if (auto* window = hostingWindow()) window->close();
}

std::string PreferencesView::languageDisplayName(const std::string& code) {
    auto name = platform::Locale::localizedLanguageName(code, code);
    if (!name) name = platform::Locale::localizedLanguageName(code);
    if (!name) return code;
    return platform::Text::capitalized(*name);
}

std::string PreferencesView::valueText(double value, double lower, double upper) {
    constexpr double limit = 9223372036854775808.0; // 2^63
    // The slider's own rule for a value it cannot show: NaN stands at the lower end, anything
    // else at the nearer end of the range.
    if (std::isnan(value))
        value = lower;
    else if (!(value > -limit && value < limit))
        value = std::clamp(value, lower, upper);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(value));
    return std::string(buffer) + " px";
}

std::vector<PopupOption> PreferencesView::languageOptions() {
    std::vector<PopupOption> options{{"", text("prefs.language.system")}};
    for (const auto& code : languageCodes.get())
        options.push_back({code, languageDisplayName(code)});
    return options;
}

void PreferencesView::applyLanguageChange() {
    std::string code = selectedLanguageCode.get();
    LocalizationManager::shared().setSelectedLanguageCode(code.empty() ? std::nullopt
                                                                       : std::optional<std::string>(code));
    localizationVersion.set(localizationVersion.get() + 1);
    nextTurn([] {
        rebuildMenu();
        withShell("the snap-bar refresh", [](PreferencesShell& s) { s.refreshSnapBarIndicators(); });
    });
}

void PreferencesView::onLanguageDidChange() {
    std::string stored = storedLanguage();
    if (stored != selectedLanguageCode.get()) selectedLanguageCode.set(stored);
    languageCodes.set(LocalizationManager::shared().availableLanguages());
    localizationVersion.set(localizationVersion.get() + 1);
}

} // namespace tilmora
