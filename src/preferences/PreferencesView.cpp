#include "preferences/PreferencesView.hpp"

#include "model/DisplayLayoutMemory.hpp"
#include "model/LocalizationManager.hpp"
#include "model/Log.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/foundation/Bundle.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/ui/Window.hpp"
#include "preferences/RoriDeruSnapGrid.hpp"
#include "windows/StageIntegration.hpp"
#include "windows/WindowManager.hpp"

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
    : verboseLogging(this, objectBool("WMVerboseLogging", false))
    , strictRestore(this, objectBool("WMStrictRestore", false))
    , captureRule(this, defaults().stringForKey("WMCapturePrimaryRule").value_or("center"))
    , minimalMenuMode(this, objectBool("MinimalMenuMode", false))
    , useCursorDisplay(this, objectBool("UseCursorDisplay", false))
    , magnetDragMode(this, objectBool("WMMagnetDragMode", false))
    , dragRequireOption(this, objectBool("WMDragRequireOption", false))
    , snapBarVisible(this, defaults().boolForKey("WMSnapBarVisible"))
    , gapSize(this, objectDouble("WMGapSize").value_or(0))
    , gapH(this, objectDouble("WMGapHorizontal").value_or(objectDouble("WMGapSize").value_or(0)))
    , gapV(this, objectDouble("WMGapVertical").value_or(objectDouble("WMGapSize").value_or(0)))
    , gapsIncludeEdges(this, objectBool("WMGapsIncludeScreenEdges", false))
    , gapEdgeLeft(this, objectBool("WMGapsEdgesLeft", false))
    , gapEdgeRight(this, objectBool("WMGapsEdgesRight", false))
    , gapEdgeTop(this, objectBool("WMGapsEdgesTop", false))
    , gapEdgeBottom(this, objectBool("WMGapsEdgesBottom", false))
    , selectedLanguageCode(this, storedLanguage())
    , languageCodes(this, initialLanguageCodes())
    , integrateStageManager(this, defaults().boolForKey("WMIntegrateStageManager"))
    , autoDetectStageManager(this, defaults().boolForKey("WMAutoDetectStageManager"))
    , integrateMissionControl(this, defaults().boolForKey("WMIntegrateMissionControl"))
    , autoHideWithMC(this, defaults().boolForKey("WMAutoHideSnapBarWithMissionControl"))
    , autoHideWithSM(this, defaults().boolForKey("WMAutoHideSnapBarWithStageManager"))
    , stageReserveLeft(this, objectDouble("WMStageReserveLeftWidth").value_or(0))
    , snappingEnabled(this, objectBool("WMSnappingEnabled", true))
    , keyboardShortcutsEnabled(this, objectBool("WMKeyboardShortcutsEnabled", true))
    , uiReady(this, false)
    , snapshotAllSpaces(this, defaults().boolForKey("WMSnapshotAllSpaces"))
    , spacesKillSwitch(this, objectBool("WMSpacesKillSwitch", false))
    , spacesDiagnostics(this, objectBool("WMSpacesLogDiagnostics", false))
    , layoutAllDisplays(this, defaults().boolForKey("WMGridAllDisplays"))
    , autoResetSnapshotQuit(this, objectBool("WMAutoResetSnapshotQuit", true))
    , autoApplyDisplayLayouts(this, objectBool("WMAutoApplyDisplayLayouts", true))
    , preserveRelativeSizing(this, objectBool("WMPreserveRelativeMove", true))
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
    flag("WMVerboseLogging", verboseLogging, false);
    flag("WMStrictRestore", strictRestore, false);
    follow("WMCapturePrimaryRule", captureRule,
           [] { return defaults().stringForKey("WMCapturePrimaryRule").value_or("center"); });
    flag("MinimalMenuMode", minimalMenuMode, false);
    flag("UseCursorDisplay", useCursorDisplay, false);
    flag("WMMagnetDragMode", magnetDragMode, false);
    flag("WMDragRequireOption", dragRequireOption, false);
    boolean("WMSnapBarVisible", snapBarVisible);
    // The two directional gaps fall back to the uniform one, so they follow it too.
    const bool sizeChanged = storedValueChanged("WMGapSize");
    const auto gap = [sizeChanged](const std::string& key, decl::State<double>& state, bool ownChanged) {
        if (!sizeChanged && !ownChanged) return;
        const double value = objectDouble(key).value_or(objectDouble("WMGapSize").value_or(0));
        if (!(state.get() == value)) state.set(value);
    };
    gap("WMGapSize", gapSize, false);
    gap("WMGapHorizontal", gapH, storedValueChanged("WMGapHorizontal"));
    gap("WMGapVertical", gapV, storedValueChanged("WMGapVertical"));
    flag("WMGapsIncludeScreenEdges", gapsIncludeEdges, false);
    flag("WMGapsEdgesLeft", gapEdgeLeft, false);
    flag("WMGapsEdgesRight", gapEdgeRight, false);
    flag("WMGapsEdgesTop", gapEdgeTop, false);
    flag("WMGapsEdgesBottom", gapEdgeBottom, false);
    boolean("WMIntegrateStageManager", integrateStageManager);
    boolean("WMAutoDetectStageManager", autoDetectStageManager);
    boolean("WMIntegrateMissionControl", integrateMissionControl);
    boolean("WMAutoHideSnapBarWithMissionControl", autoHideWithMC);
    boolean("WMAutoHideSnapBarWithStageManager", autoHideWithSM);
    follow("WMStageReserveLeftWidth", stageReserveLeft,
           [] { return objectDouble("WMStageReserveLeftWidth").value_or(0); });
    flag("WMSnappingEnabled", snappingEnabled, true);
    flag("WMKeyboardShortcutsEnabled", keyboardShortcutsEnabled, true);
    boolean("WMSnapshotAllSpaces", snapshotAllSpaces);
    flag("WMSpacesKillSwitch", spacesKillSwitch, false);
    flag("WMSpacesLogDiagnostics", spacesDiagnostics, false);
    boolean("WMGridAllDisplays", layoutAllDisplays);
    flag("WMAutoResetSnapshotQuit", autoResetSnapshotQuit, true);
    flag("WMAutoApplyDisplayLayouts", autoApplyDisplayLayouts, true);
    flag("WMPreserveRelativeMove", preserveRelativeSizing, true);
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
        "WMGapsIncludeScreenEdges", "WMGapsEdgesLeft",        "WMGapsEdgesRight",
        "WMGapsEdgesTop",           "WMGapsEdgesBottom",      "WMSnapshotAllSpaces",
        "WMSpacesKillSwitch",       "WMSpacesLogDiagnostics", "WMAutoResetSnapshotQuit"};
    static const std::vector<std::string> stage = {
        "WMIntegrateStageManager", "WMAutoDetectStageManager", "WMIntegrateMissionControl",
        "WMAutoHideSnapBarWithMissionControl", "WMAutoHideSnapBarWithStageManager"};
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
    if (key == "WMVerboseLogging")
        return [](bool on) {
            nextTurn([on] {
                defaults().set(PropertyValue(on), "WMVerboseLogging");
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
    if (key == "WMMagnetDragMode" || key == "WMDragRequireOption")
        return [this, key](bool on) {
            auto grid = snapGrid();
            nextTurn([grid, key, on] {
                defaults().set(PropertyValue(on), key);
                if (key == "WMMagnetDragMode")
                    grid->setMagnetMode(on);
                else
                    grid->setDragRequireOption(on);
            });
        };
    if (key == "WMSnapBarVisible")
        return [](bool on) {
            nextTurn([on] {
                if (defaults().boolForKey("WMSnapBarVisible") != on)
                    withShell("the snap-bar toggle", [](PreferencesShell& s) { s.toggleSnapBar(); });
                else
                    defaults().set(PropertyValue(on), "WMSnapBarVisible");
                withShell("the snap-bar refresh", [](PreferencesShell& s) { s.refreshSnapBarIndicators(); });
                rebuildMenu();
            });
        };
    if (key == "WMSnappingEnabled")
        return [this](bool on) {
            auto grid = snapGrid();
            nextTurn([grid, on] {
                defaults().set(PropertyValue(on), "WMSnappingEnabled");
                grid->setSnappingEnabled(on);
                if (!on) {
                    grid->stopMonitoring();
                    grid->setSuppressMenuSelection(true);
                    grid->clearAllRectSelections();
                    grid->clearGridPresetMarking(true);
                } else {
                    grid->startMonitoringIfNeeded();
                }
                withShell("the snap-bar refresh", [](PreferencesShell& s) { s.refreshSnapBarIndicators(); });
                rebuildMenu();
            });
        };
    if (key == "WMKeyboardShortcutsEnabled")
        return [](bool on) {
            nextTurn([on] {
                withShell("the shortcut switch", [on](PreferencesShell& s) {
                    defaults().set(PropertyValue(on), s.keyboardShortcutsEnabledKey());
                    s.applyKeyboardShortcutsEnabledState();
                    s.rebuildStatusMenu();
                });
            });
        };
    if (key == "WMGridAllDisplays")
        return [](bool on) {
            nextTurn([on] {
                defaults().set(PropertyValue(on), "WMGridAllDisplays");
                withShell("the layout-scope change",
                          [](PreferencesShell& s) { s.layoutScopePreferenceDidChange(); });
            });
        };
    if (key == "WMAutoApplyDisplayLayouts")
        return [this](bool on) {
            auto store = environment<std::shared_ptr<DisplayLayoutMemory>>(displayLayoutStoreEnvironmentKey);
            nextTurn([store, on] {
                defaults().set(PropertyValue(on), "WMAutoApplyDisplayLayouts");
                if (on) (store ? *store : DisplayLayoutMemory::shared()).applyStoredConfiguration(true);
            });
        };
    // "WMStrictRestore", "UseCursorDisplay", "WMPreserveRelativeMove".
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
        allSpaces.set(d.boolForKey("WMSnapshotAllSpaces"));
        killSwitch.set(objectBool("WMSpacesKillSwitch", false));
        diagnostics.set(objectBool("WMSpacesLogDiagnostics", false));
        integrateSM.set(d.boolForKey("WMIntegrateStageManager"));
        detectSM.set(d.boolForKey("WMAutoDetectStageManager"));
        integrateMC.set(d.boolForKey("WMIntegrateMissionControl"));
        hideMC.set(d.boolForKey("WMAutoHideSnapBarWithMissionControl"));
        hideSM.set(d.boolForKey("WMAutoHideSnapBarWithStageManager"));
        reserve.set(objectDouble("WMStageReserveLeftWidth").value_or(0));
    });
}

void PreferencesView::savePrefsAndApply() {
    auto& d = defaults();
    d.set(PropertyValue(verboseLogging.get()), "WMVerboseLogging");
    d.set(PropertyValue(strictRestore.get()), "WMStrictRestore");
    d.set(PropertyValue(captureRule.get()), "WMCapturePrimaryRule");
    d.set(PropertyValue(minimalMenuMode.get()), "MinimalMenuMode");
    d.set(PropertyValue(snapBarVisible.get()), "WMSnapBarVisible");
    d.set(PropertyValue(useCursorDisplay.get()), "UseCursorDisplay");
    d.set(PropertyValue(magnetDragMode.get()), "WMMagnetDragMode");
    d.set(PropertyValue(dragRequireOption.get()), "WMDragRequireOption");
    d.set(PropertyValue(keyboardShortcutsEnabled.get()), "WMKeyboardShortcutsEnabled");
    d.set(PropertyValue(gapSize.get()), "WMGapSize");
    d.set(PropertyValue(gapH.get()), "WMGapHorizontal");
    d.set(PropertyValue(gapV.get()), "WMGapVertical");
    d.set(PropertyValue(gapsIncludeEdges.get()), "WMGapsIncludeScreenEdges");
    d.set(PropertyValue(gapEdgeLeft.get()), "WMGapsEdgesLeft");
    d.set(PropertyValue(gapEdgeRight.get()), "WMGapsEdgesRight");
    d.set(PropertyValue(gapEdgeTop.get()), "WMGapsEdgesTop");
    d.set(PropertyValue(gapEdgeBottom.get()), "WMGapsEdgesBottom");
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

std::string PreferencesView::valueText(double value) {
    long long whole = 0;
    constexpr double limit = 9223372036854775808.0; // 2^63
    if (std::isnan(value))
        whole = 0;
    else if (value >= limit)
        whole = std::numeric_limits<long long>::max();
    else if (value <= -limit)
        whole = std::numeric_limits<long long>::min();
    else
        whole = static_cast<long long>(value);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%lld", whole);
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
